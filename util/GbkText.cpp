#include "util/GbkText.h"

#include <cstring>

#include "util/GbkCodec.h"

namespace gbk {
namespace {

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Case pairs of GBK double-byte letters: lead byte, first upper-case trail, last upper-case
// trail, distance from upper to lower trail.
struct CaseRange {
    unsigned char lead;
    unsigned char upperFirst;
    unsigned char upperLast;
    unsigned char offset;
};
constexpr CaseRange kCaseRanges[] = {
    {0xA3, 0xC1, 0xDA, 0x20},  // full-width Latin A-Z / a-z
    {0xA6, 0xA1, 0xB8, 0x20},  // Greek
    {0xA7, 0xA1, 0xC1, 0x30},  // Cyrillic
};

enum class Case { kLower, kUpper };

// ASCII case tables: every byte below 0x80 maps to itself or its other case.
struct AsciiTables {
    unsigned char lower[128];
    unsigned char upper[128];
    constexpr AsciiTables() : lower(), upper() {
        for (int c = 0; c < 128; ++c) {
            lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
    }
};
constexpr AsciiTables kAscii;

// Folds out[from..] in place.
void FoldTail(std::string& out, size_t from, Case to) {
    const unsigned char* table = to == Case::kLower ? kAscii.lower : kAscii.upper;
    auto* bytes = reinterpret_cast<unsigned char*>(out.data());
    const size_t n = out.size();
    for (size_t i = from; i < n; ++i) {
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            bytes[i] = table[c];
            continue;
        }
        if (!IsLeadByte(c) || i + 1 >= n) {
            continue;
        }
        unsigned char& trail = bytes[++i];
        for (const CaseRange& r : kCaseRanges) {
            if (r.lead != c) {
                continue;
            }
            if (to == Case::kLower && trail >= r.upperFirst && trail <= r.upperLast) {
                trail = static_cast<unsigned char>(trail + r.offset);
            } else if (to == Case::kUpper && trail >= r.upperFirst + r.offset &&
                       trail <= r.upperLast + r.offset) {
                trail = static_cast<unsigned char>(trail - r.offset);
            }
        }
    }
}

std::string Fold(std::string_view text, Case to) {
    std::string out(text);
    FoldTail(out, 0, to);
    return out;
}

}  // namespace

std::string FromUtf8(std::string_view utf8) {
    return codec::Utf8ToGbk(utf8, nullptr);
}

std::string ToUtf8(std::string_view gbkText) {
    return codec::GbkToUtf8(gbkText);
}

bool IsRepresentable(std::string_view utf8) {
    bool lossless = false;
    codec::Utf8ToGbk(utf8, &lossless);
    return lossless;
}

std::string FromUtf16(std::u16string_view utf16) {
    std::string utf8;
    utf8.reserve(utf16.size() * 3);
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // lone surrogate
        }
        AppendUtf8(utf8, cp);
    }
    return FromUtf8(utf8);
}

std::u16string ToUtf16(std::string_view gbkText) {
    const std::string utf8 = ToUtf8(gbkText);
    std::u16string out;
    out.reserve(utf8.size());
    // The codec's output is valid UTF-8, so a simple decoder suffices.
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp;
        size_t len;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if (b < 0xE0) {
            cp = b & 0x1F;
            len = 2;
        } else if (b < 0xF0) {
            cp = b & 0x0F;
            len = 3;
        } else {
            cp = b & 0x07;
            len = 4;
        }
        for (size_t k = 1; k < len && i + k < utf8.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string ToLower(std::string_view text) {
    return Fold(text, Case::kLower);
}

std::string ToUpper(std::string_view text) {
    return Fold(text, Case::kUpper);
}

void AppendLower(std::string& out, std::string_view text) {
    const size_t from = out.size();
    out.append(text);
    FoldTail(out, from, Case::kLower);
}

size_t Find(std::string_view haystack, std::string_view needle, size_t from) {
    if (from > haystack.size()) {
        return std::string_view::npos;
    }
    size_t boundary = from;  // the next character boundary not yet passed
    size_t pos = from;
    while (true) {
        const size_t candidate = haystack.find(needle, pos);
        if (candidate == std::string_view::npos) {
            return candidate;
        }
        while (boundary < candidate) {
            const bool pair = IsLeadByte(static_cast<unsigned char>(haystack[boundary])) &&
                              boundary + 1 < haystack.size();
            boundary += pair ? 2 : 1;
        }
        if (boundary == candidate) {
            return candidate;
        }
        pos = candidate + 1;  // the candidate starts on a trail byte
    }
}

std::string TruncateBytes(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return std::string(text);
    }
    size_t end = 0;
    while (end < text.size()) {
        const size_t step =
            IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + step > maxBytes) {
            break;
        }
        end += step;
    }
    return std::string(text.substr(0, end));
}

}  // namespace gbk
