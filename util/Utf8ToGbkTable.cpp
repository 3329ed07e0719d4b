#include "util/Utf8ToGbkTable.h"

#include <algorithm>
#include <cstring>

#include "util/GbkCodec.h"
#include "util/Utf8Sequence.h"

namespace gbk {
namespace {

constexpr char32_t kFirstLearnt = 0x80;
constexpr char32_t kTableSize = 0x10000;

bool IsSurrogate(char32_t cp) {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

// A table entry as the bytes it stands for.
std::string GbkBytes(uint16_t code) {
    std::string bytes;
    if (code > 0xFF) {
        bytes.push_back(static_cast<char>(code >> 8));
    }
    bytes.push_back(static_cast<char>(code & 0xFF));
    return bytes;
}

// The first `count` lines of `text`; fewer when it has fewer.
std::vector<std::string_view> Lines(std::string_view text, size_t count) {
    std::vector<std::string_view> lines;
    lines.reserve(count);
    while (lines.size() < count) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The code point of a line holding exactly one two- or three-byte UTF-8 character; 0 otherwise.
char32_t DecodeOne(std::string_view line) {
    const auto byte = [line](size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(line[i]));
    };
    if (line.size() == 2 && (byte(0) & 0xE0) == 0xC0) {
        return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    }
    if (line.size() == 3 && (byte(0) & 0xF0) == 0xE0) {
        return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    }
    return 0;
}

}  // namespace

const Utf8ToGbkTable& Utf8ToGbkTable::Get() {
    static const Utf8ToGbkTable table;
    return table;
}

// Learnt in two passes through the codec, each one call over many characters separated by
// line feeds (GBK trail bytes and UTF-8 continuation bytes are never a line feed, so the
// lines of a result are the characters' conversions in order):
// 1. every GBK code decoded: its character, when it has one;
// 2. those characters encoded again: only the ones that come back as their code are kept.
// Characters the codec refuses never reach a pass, so neither call stops at an error.
Utf8ToGbkTable::Utf8ToGbkTable() : m_gbk(kTableSize, 0) {
    std::string ascii;
    for (int c = 1; c < 0x80; ++c) {
        ascii.push_back(static_cast<char>(c));
    }
    bool lossless = false;
    m_asciiIsIdentity = codec::Utf8ToGbk(ascii, &lossless) == ascii && lossless;

    // The one single-byte character above ASCII, then every double-byte code.
    std::vector<uint16_t> codes = {0x80};
    std::string gbkText = "\x80\n";
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F) {
                codes.push_back(static_cast<uint16_t>(lead << 8 | trail));
                gbkText.push_back(static_cast<char>(lead));
                gbkText.push_back(static_cast<char>(trail));
                gbkText.push_back('\n');
            }
        }
    }
    const std::string utf8Text = codec::GbkToUtf8(gbkText);
    const std::vector<std::string_view> decoded = Lines(utf8Text, codes.size());
    std::vector<char32_t> characters;
    for (size_t i = 0; i < decoded.size(); ++i) {
        const char32_t cp = DecodeOne(decoded[i]);
        if (cp >= kFirstLearnt && cp < kTableSize && cp != 0xFFFD && m_gbk[cp] == 0) {
            m_gbk[cp] = codes[i];
            characters.push_back(cp);
        }
    }
    std::string utf8;
    for (const char32_t cp : characters) {
        codec::AppendUtf8(utf8, cp);
        utf8.push_back('\n');
    }
    const std::string encoded = codec::Utf8ToGbk(utf8, &lossless);
    const std::vector<std::string_view> back = Lines(encoded, characters.size());
    for (size_t i = 0; i < characters.size(); ++i) {
        if (i >= back.size() || back[i] != GbkBytes(m_gbk[characters[i]])) {
            m_gbk[characters[i]] = 0;
        }
    }
}

size_t Utf8ToGbkTable::KnownCharacters() const {
    return m_asciiIsIdentity
               ? static_cast<size_t>(std::count_if(m_gbk.begin(), m_gbk.end(),
                                                   [](uint16_t code) { return code != 0; }))
               : 0;
}

bool Utf8ToGbkTable::AppendExact(std::string_view utf8, std::string& out) const {
    const size_t start = out.size();
    if (AppendKnown(utf8, out)) {
        return true;
    }
    out.resize(start);
    bool lossless = false;
    codec::AppendUtf8ToGbk(utf8, out, &lossless);
    return lossless;
}

// Converts ASCII and the well-formed two- and three-byte sequences the table knows; false at
// the first anything else.
bool Utf8ToGbkTable::AppendKnown(std::string_view utf8, std::string& out) const {
    if (!m_asciiIsIdentity) {
        return false;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* const end = p + utf8.size();
    const size_t start = out.size();
    // GBK never takes more bytes than UTF-8.
    out.resize(start + utf8.size());
    char* o = out.data() + start;
    while (p < end) {
        if (end - p >= 8) {
            uint64_t word = 0;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080) == 0) {
                std::memcpy(o, p, 8);
                p += 8;
                o += 8;
                continue;
            }
        }
        const unsigned char lead = *p;
        char32_t cp = 0;
        if (lead < 0x80) {
            *o++ = static_cast<char>(lead);
            ++p;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            cp = (lead & 0x1Fu) << 6 | (p[1] & 0x3Fu);
            p += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
                   (p[2] & 0xC0) == 0x80) {
            cp = (lead & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
            if (cp < 0x800 || IsSurrogate(cp)) {
                return false;  // overlong or a surrogate: malformed
            }
            p += 3;
        } else {
            return false;
        }
        const uint16_t code = m_gbk[cp];
        if (code == 0) {
            return false;
        }
        if (code > 0xFF) {
            *o++ = static_cast<char>(code >> 8);
        }
        *o++ = static_cast<char>(code & 0xFF);
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return true;
}

}  // namespace gbk
