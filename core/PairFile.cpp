#include "core/PairFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/FileIo.h"
#include "util/GbkText.h"

namespace Qm_conf_solitude {
namespace {

// The length field: up to four bytes read like the C library's atoi (leading blanks, an
// optional sign, digits up to the first non-digit, none at all reads as 0).
long ReadLengthField(const std::string& text, size_t pos) {
    const std::string field = text.substr(pos, 4);
    return std::strtol(field.c_str(), nullptr, 10);
}

bool HasAt(const std::string& text, size_t pos, const std::string& expected) {
    return pos <= text.size() && text.compare(pos, expected.size(), expected) == 0 &&
           text.size() - pos >= expected.size();
}

void AppendField(std::string& out, const std::string& bytes, const std::string& marker) {
    char length[8];
    std::snprintf(length, sizeof length, "%04d", static_cast<int>(bytes.size()));
    out.append(length).append(marker).append(bytes);
}

const char kKeyValueSeparator[] = " = ";

}  // namespace

Qm_conf_solitude_File::Qm_conf_solitude_File(std::string path, std::string fieldMarker,
                                             std::string terminator)
    : m_fieldMarker(std::move(fieldMarker)),
      m_terminator(std::move(terminator)),
      m_path(std::move(path)) {
    try {
        Read();
    } catch (const std::bad_alloc&) {
        ThrowRead();
    }
    m_cursor = m_map.cbegin();
}

void Qm_conf_solitude_File::ThrowRead() const {
    throw Qm_conf_solitude_Exception{GBK("读入配置文件(") + m_path + GBK(")出错!")};
}

void Qm_conf_solitude_File::ThrowWrite() const {
    throw Qm_conf_solitude_Exception{GBK("写入配置文件(") + m_path + GBK(")出错!")};
}

void Qm_conf_solitude_File::Read() {
    std::string content;
    switch (fileio::ReadWholeFile(m_path, content)) {
        case fileio::ReadResult::kNotOpened:
            return;  // missing, locked or not accessible: an empty map
        case fileio::ReadResult::kError:
            ThrowRead();
        case fileio::ReadResult::kOk:
            break;
    }
    const size_t fileSize = content.size();
    const size_t nul = content.find('\0');
    if (nul != std::string::npos) {
        content.erase(nul);
    }
    Parse(content, fileSize);
}

void Qm_conf_solitude_File::Parse(const std::string& text, size_t fileSize) {
    const std::string separator = kKeyValueSeparator;
    size_t cursor = 0;
    while (cursor < text.size()) {
        size_t pos = cursor;
        const long keyLength = ReadLengthField(text, pos);
        if (keyLength < 0) {
            break;
        }
        pos += 4;
        if (!HasAt(text, pos, m_fieldMarker)) {
            break;
        }
        pos += m_fieldMarker.size();
        if (text.size() - pos < static_cast<size_t>(keyLength)) {
            break;
        }
        std::string key = text.substr(pos, static_cast<size_t>(keyLength));
        pos += static_cast<size_t>(keyLength);
        if (!HasAt(text, pos, separator)) {
            break;
        }
        pos += separator.size();
        const long valueLength = ReadLengthField(text, pos);
        if (valueLength < 0) {
            break;
        }
        pos += 4;
        if (!HasAt(text, pos, m_fieldMarker)) {
            break;
        }
        pos += m_fieldMarker.size();
        if (text.size() - pos < static_cast<size_t>(valueLength)) {
            break;
        }
        std::string value = text.substr(pos, static_cast<size_t>(valueLength));
        pos += static_cast<size_t>(valueLength);
        if (!HasAt(text, pos, m_terminator)) {
            break;
        }
        pos += m_terminator.size();
        m_map[std::move(key)] = std::move(value);
        ++m_parsedRecords;
        cursor = pos;
    }
    m_stopOffset = cursor < fileSize ? static_cast<long long>(cursor) : -1;
}

std::string Qm_conf_solitude_File::Get(const std::string& key) {
    return m_map[key];
}

void Qm_conf_solitude_File::Set(const std::string& key, const std::string& value) {
    m_map[key] = value;
}

void Qm_conf_solitude_File::RemoveAll() {
    m_map.clear();
    m_cursor = m_map.cbegin();
}

void Qm_conf_solitude_File::Rewind() {
    m_cursor = m_map.cbegin();
}

bool Qm_conf_solitude_File::Next(std::string& key, std::string& value) {
    if (m_cursor == m_map.cend()) {
        return false;
    }
    key = m_cursor->first;
    value = m_cursor->second;
    ++m_cursor;
    return true;
}

std::string Qm_conf_solitude_File::Serialize(
    const std::unordered_map<std::string, std::string>& map, const std::string& fieldMarker,
    const std::string& terminator) {
    std::string out;
    size_t total = 0;
    for (const auto& [key, value] : map) {
        total += key.size() + value.size() + 8 + 2 * fieldMarker.size() + 3 + terminator.size();
    }
    out.reserve(total);
    for (const auto& [key, value] : map) {
        AppendField(out, key, fieldMarker);
        out.append(kKeyValueSeparator);
        AppendField(out, value, fieldMarker);
        out.append(terminator);
    }
    return out;
}

void Qm_conf_solitude_File::Close() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    for (const auto& [key, value] : m_map) {
        // A longer text would need a fifth length digit, which no reader could parse.
        if (key.size() > kMaxFieldLength || value.size() > kMaxFieldLength) {
            ThrowWrite();
        }
    }
    std::string text;
    try {
        text = Serialize(m_map, m_fieldMarker, m_terminator);
    } catch (const std::bad_alloc&) {
        ThrowWrite();
    }
    if (!fileio::ReplaceFile(m_path, text)) {
        ThrowWrite();
    }
}

void Qm_conf_solitude_File::Discard() {
    m_ended = true;
}

}  // namespace Qm_conf_solitude
