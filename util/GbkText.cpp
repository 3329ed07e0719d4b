#include "util/GbkText.h"

#include <cstdint>
#include <cstring>

#include "util/GbkCase.h"
#include "util/GbkCodec.h"

namespace gbk {
namespace {

using namespace case_detail;

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
        ++i;
        out[i] = FoldTrail(c, in[i], to);
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
    std::string out;
    AppendToUtf8(gbkText, out);
    return out;
}

bool AppendFromUtf8Exact(std::string_view utf8, std::string& out) {
    bool lossless = false;
    codec::AppendUtf8ToGbk(utf8, out, &lossless);
    return lossless;
}

void AppendToUtf8(std::string_view gbkText, std::string& out) {
    // ASCII is the same in both and each of its bytes is a character of its own: a leading run
    // of it (often the whole text) is copied without a call into the converter.
    size_t ascii = 0;
    while (ascii < gbkText.size() && static_cast<unsigned char>(gbkText[ascii]) < 0x80) {
        ++ascii;
    }
    out.append(gbkText.substr(0, ascii));
    if (ascii < gbkText.size()) {
        codec::AppendGbkToUtf8(gbkText.substr(ascii), out);
    }
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
