#include "core/PairFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "core/DamagedFile.h"
#include "core/fileio/FileIo.h"
#include "core/fileio/FileStatusText.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace Qm_conf_solitude {

long detail::ReadLengthFieldLikeAtoi(std::string_view text, size_t pos) {
    // atoi on at most four bytes: leading white space, an optional sign, then digits.
    const size_t end = std::min(text.size(), pos + 4);
    size_t i = pos;
    while (i < end && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < end && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    while (i < end && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        ++i;
    }
    return negative ? -value : value;
}

namespace {

void AppendField(std::string& out, std::string_view bytes, std::string_view marker) {
    const size_t n = bytes.size();
    if (n <= 9999) {  // the usual case, without a printf per field
        const char length[4] = {
            static_cast<char>('0' + n / 1000), static_cast<char>('0' + n / 100 % 10),
            static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
        out.append(length, sizeof length);
    } else {
        char length[24];
        std::snprintf(length, sizeof length, "%04zu", n);
        out.append(length);
    }
    out.append(marker).append(bytes);
}

const char kKeyValueSeparator[] = " = ";

}  // namespace

Qm_conf_solitude_File::Qm_conf_solitude_File(std::filesystem::path path, std::string fieldMarker,
                                             std::string terminator)
    : m_fieldMarker(std::move(fieldMarker)),
      m_terminator(std::move(terminator)),
      m_path(std::move(path)) {
    try {
        Read();
    } catch (const std::bad_alloc&) {
        throw ReadError(m_path);
    }
    m_cursor = m_map.cbegin();
}

namespace {
std::string WithReason(std::string message, const std::string& reason) {
    if (!reason.empty()) {
        message.append("\n").append(reason);
    }
    return message;
}
}  // namespace

Qm_conf_solitude_Exception Qm_conf_solitude_File::ReadError(const std::filesystem::path& path,
                                                            const std::string& reason) {
    return {WithReason(GBK("读入配置文件(") + PathText(path) + GBK(")出错!"), reason),
            Qm_conf_solitude_Exception::Kind::kRead, path, reason};
}

Qm_conf_solitude_Exception Qm_conf_solitude_File::WriteError(const std::filesystem::path& path,
                                                             const std::string& reason) {
    return {WithReason(GBK("写入配置文件(") + PathText(path) + GBK(")出错!"), reason),
            Qm_conf_solitude_Exception::Kind::kWrite, path, reason};
}

std::string Qm_conf_solitude_File::DamagedWithoutCopyReason() {
    return GBK("文件已损坏, 而且无法保存它的副本; 为了不丢失没有读入的内容, 没有覆盖它。");
}

namespace {

// What every whole read of a pair file does with its outcome: a missing file reads as empty
// (false); any other failure raises the read exception; a killed save's leftover goes.
bool AcceptRead(const std::filesystem::path& path, const fileio::Status& status) {
    if (status.outcome == fileio::Outcome::kMissing) {
        return false;
    }
    if (!status.ok()) {
        throw Qm_conf_solitude_File::ReadError(path, ReasonText(status));
    }
    fileio::RemoveStaleTemporary(path);
    return true;
}

}  // namespace

bool Qm_conf_solitude_File::ReadContent(const std::filesystem::path& path, std::string& content,
                                        size_t& fileSize) {
    fileio::Status status;
    try {
        status = fileio::ReadWholeFile(path, content);
    } catch (const std::bad_alloc&) {
        throw ReadError(path);
    }
    if (!AcceptRead(path, status)) {
        content.clear();
        fileSize = 0;
        return false;
    }
    fileSize = content.size();
    const size_t nul = content.find('\0');
    if (nul != std::string::npos) {
        content.erase(nul);
    }
    return true;
}

bool Qm_conf_solitude_File::ViewWholeFile(const std::filesystem::path& path, FileView& file,
                                          FileView::Pages pages) {
    fileio::Status status;
    try {
        status = file.Open(path, pages);
    } catch (const std::bad_alloc&) {
        throw ReadError(path);
    }
    return AcceptRead(path, status);
}

void Qm_conf_solitude_File::Read() {
    std::string content;
    size_t fileSize = 0;
    if (!ReadContent(m_path, content, fileSize)) {
        return;  // no file yet: an empty map
    }
    const size_t stop = ParseRecords(content, m_fieldMarker, m_terminator,
                                     [this](std::string_view key, std::string_view value) {
                                         m_map[std::string(key)] = std::string(value);
                                         ++m_parsedRecords;
                                     });
    if (stop < fileSize) {
        m_stopOffset = static_cast<long long>(stop);
        m_damagedWithoutCopy = PreserveDamagedFile(m_path, stop, m_parsedRecords).copy.empty();
    } else {
        m_wholeText = std::move(content);
    }
}

bool Qm_conf_solitude_File::HoldsWhatCloseWrites() const {
    return m_wholeText && *m_wholeText == Serialize(m_map, m_fieldMarker, m_terminator);
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
    // Records in byte order of their keys: a saved file depends only on what it holds, so it
    // compares byte for byte and diffs well under version control.
    std::vector<const std::pair<const std::string, std::string>*> sorted;
    sorted.reserve(map.size());
    size_t total = 0;
    for (const auto& entry : map) {
        sorted.push_back(&entry);
        total += entry.first.size() + entry.second.size() + 8 + 2 * fieldMarker.size() + 3 +
                 terminator.size();
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const auto* a, const auto* b) { return a->first < b->first; });
    std::string out;
    out.reserve(total);
    for (const auto* entry : sorted) {
        AppendField(out, entry->first, fieldMarker);
        out.append(kKeyValueSeparator);
        AppendField(out, entry->second, fieldMarker);
        out.append(terminator);
    }
    return out;
}

bool Qm_conf_solitude_File::AppendRecord(std::string& out, std::string_view key,
                                         std::string_view value, std::string_view fieldMarker,
                                         std::string_view terminator) {
    // A longer text would need a fifth length digit, which no reader could parse.
    if (key.size() > kMaxFieldLength || value.size() > kMaxFieldLength) {
        return false;
    }
    AppendField(out, key, fieldMarker);
    out.append(kKeyValueSeparator);
    AppendField(out, value, fieldMarker);
    out.append(terminator);
    return true;
}

void Qm_conf_solitude_File::ReplaceContent(
    const std::filesystem::path& path, std::string_view fieldMarker, std::string_view terminator,
    const std::function<bool(const fileio::ChunkWriter&)>& produce) {
    std::string current;
    size_t fileSize = 0;
    try {
        if (ReadContent(path, current, fileSize)) {
            size_t records = 0;
            const size_t stop =
                ParseRecords(current, fieldMarker, terminator,
                             [&records](std::string_view, std::string_view) { ++records; });
            if (stop < fileSize && PreserveDamagedFile(path, stop, records).copy.empty()) {
                throw WriteError(path, DamagedWithoutCopyReason());
            }
        }
    } catch (const std::bad_alloc&) {
        throw ReadError(path);
    }
    bool writeFailed = false;
    const fileio::Status status =
        fileio::ReplaceFileWith(path, [&](const fileio::ChunkWriter& write) {
            return produce([&](std::string_view chunk) {
                writeFailed = writeFailed || !write(chunk);
                return !writeFailed;
            });
        });
    if (!status.ok()) {
        const bool producerGaveUp =
            !writeFailed && status.outcome == fileio::Outcome::kIoError && status.systemError == 0;
        throw WriteError(path, producerGaveUp ? std::string() : ReasonText(status));
    }
}

void Qm_conf_solitude_File::Close() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    if (m_damagedWithoutCopy) {
        // The unread part of the file exists nowhere else: try the copy once more.
        m_damagedWithoutCopy =
            PreserveDamagedFile(m_path, static_cast<size_t>(m_stopOffset), m_parsedRecords)
                .copy.empty();
        if (m_damagedWithoutCopy) {
            throw WriteError(m_path, DamagedWithoutCopyReason());
        }
    }
    for (const auto& [key, value] : m_map) {
        // A longer text would need a fifth length digit, which no reader could parse.
        if (key.size() > kMaxFieldLength || value.size() > kMaxFieldLength) {
            throw WriteError(m_path);
        }
    }
    std::string text;
    try {
        text = Serialize(m_map, m_fieldMarker, m_terminator);
    } catch (const std::bad_alloc&) {
        throw WriteError(m_path);
    }
    if (const fileio::Status status = fileio::ReplaceFile(m_path, text); !status.ok()) {
        throw WriteError(m_path, ReasonText(status));
    }
}

void Qm_conf_solitude_File::Discard() {
    m_ended = true;
}

}  // namespace Qm_conf_solitude
