#include "util/GbkText.h"

#include <cstdint>
#include <cstring>

#include "util/GbkCodec.h"

namespace gbk {
namespace {

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

// Folds eight ASCII bytes at once: every byte in [first, last] gets bit 0x20 set (lower case)
// or cleared (upper case). No byte is 0x80 or above, so no sum below carries into the next byte.
uint64_t FoldAsciiWord(uint64_t word, Case to) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHigh = 0x8080808080808080;
    const uint64_t first = to == Case::kLower ? 'A' : 'a';
    const uint64_t last = to == Case::kLower ? 'Z' : 'z';
    const uint64_t atLeastFirst = word + (0x80 - first) * kOnes;
    const uint64_t aboveLast = word + (0x7F - last) * kOnes;
    const uint64_t inRange = atLeastFirst & ~aboveLast & kHigh;
    return to == Case::kLower ? word | inRange >> 2 : word & ~(inRange >> 2);
}

// Writes the `n` bytes at `in` folded to `out` (which may be `in`).
void FoldBytes(const unsigned char* in, unsigned char* out, size_t n, Case to) {
    const unsigned char* table = to == Case::kLower ? kAscii.lower : kAscii.upper;
    size_t i = 0;
    // Whole words while the text is ASCII: most terms are.
    for (uint64_t word = 0; i + 8 <= n; i += 8) {
        std::memcpy(&word, in + i, 8);
        if ((word & 0x8080808080808080) != 0) {
            break;
        }
        word = FoldAsciiWord(word, to);
        std::memcpy(out + i, &word, 8);
    }
    for (; i < n; ++i) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            out[i] = table[c];
            continue;
        }
        out[i] = c;
        if (!IsLeadByte(c) || i + 1 >= n) {
            continue;
        }
        unsigned char trail = in[++i];
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
        out[i] = trail;
    }
}

// Folds out[from..] in place.
void FoldTail(std::string& out, size_t from, Case to) {
    auto* bytes = reinterpret_cast<unsigned char*>(out.data()) + from;
    FoldBytes(bytes, bytes, out.size() - from, to);
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

bool FromUtf8Exact(std::string_view utf8, std::string& out) {
    bool lossless = false;
    out = codec::Utf8ToGbk(utf8, &lossless);
    return lossless;
}

bool AppendFromUtf8Exact(std::string_view utf8, std::string& out) {
    bool lossless = false;
    codec::AppendUtf8ToGbk(utf8, out, &lossless);
    return lossless;
}

void AppendToUtf8(std::string_view gbkText, std::string& out) {
    codec::AppendGbkToUtf8(gbkText, out);
}

bool IsRepresentable(std::string_view utf8) {
    bool lossless = false;
    codec::Utf8ToGbk(utf8, &lossless);
    return lossless;
}

std::string FromUtf16(std::u16string_view utf16) {
    return codec::Utf16ToGbk(utf16, nullptr);
}

std::u16string ToUtf16(std::string_view gbkText) {
    return codec::GbkToUtf16(gbkText);
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

void LowerInto(std::string_view text, char* out) {
    FoldBytes(reinterpret_cast<const unsigned char*>(text.data()),
              reinterpret_cast<unsigned char*>(out), text.size(), Case::kLower);
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
