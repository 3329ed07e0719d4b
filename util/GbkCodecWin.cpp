#include <windows.h>

#include <string>

#include "util/GbkCodec.h"
#include "util/Utf8Sequence.h"

// The code-page API, held to the rules of the iconv backend: invalid input is replaced per
// character (never per UTF-16 unit), nothing is converted by "best fit", and the private-use
// range is no text (see GbkCodec.h).
namespace gbk::codec {
namespace {

constexpr UINT kGbk = 936;
constexpr char16_t kReplacement = 0xFFFD;

bool IsPrivateUse(char16_t unit) {
    return unit >= 0xE000 && unit <= 0xF8FF;
}

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

// Decodes UTF-8 as strictly as iconv does (no overlong forms, no surrogates, nothing above
// U+10FFFF). Each malformed sequence becomes one U+FFFD and is skipped together with the
// continuation bytes its lead byte claims.
std::u16string DecodeUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    const auto byte = [utf8](size_t at) { return static_cast<unsigned char>(utf8[at]); };
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        const size_t length = Utf8SequenceLength(lead);
        size_t have = 1;
        while (have < length && i + have < utf8.size() && IsUtf8Continuation(byte(i + have))) {
            ++have;
        }
        char32_t code = lead & (0x7Fu >> length);
        for (size_t k = 1; k < have; ++k) {
            code = (code << 6) | (byte(i + k) & 0x3Fu);
        }
        constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        const bool valid = length > 1 && have == length && code >= kSmallest[length] &&
                           code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        i += have;
        if (!valid) {
            out.push_back(kReplacement);
        } else if (code < 0x10000) {
            out.push_back(static_cast<char16_t>(code));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        }
    }
    return out;
}

// Converts UTF-16 with the code page; false when a character had no exact counterpart.
bool EncodeExactly(UINT codePage, std::u16string_view text, std::string& out) {
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultPtr = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, flags, Wide(text.data()), length, nullptr, 0,
                                      nullptr, usedDefaultPtr);
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(n));
    WideCharToMultiByte(codePage, flags, Wide(text.data()), length, out.data() + start, n, nullptr,
                        usedDefaultPtr);
    if (usedDefault) {
        out.resize(start);
        return false;
    }
    return true;
}

std::string EncodeGbk(std::u16string_view text, bool* lossless) {
    std::string out;
    bool clean = true;
    bool plain = true;
    for (const char16_t unit : text) {
        plain = plain && !IsPrivateUse(unit) && !IsHighSurrogate(unit) && !IsLowSurrogate(unit);
    }
    if (!plain || !EncodeExactly(kGbk, text, out)) {
        // Character by character: a surrogate pair is one character, a lone surrogate and a
        // private-use character have no GBK form.
        out.clear();
        for (size_t i = 0; i < text.size();) {
            const bool pair =
                i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]);
            const char16_t unit = text[i];
            i += pair ? 2 : 1;
            if (pair || IsHighSurrogate(unit) || IsLowSurrogate(unit) || IsPrivateUse(unit) ||
                !EncodeExactly(kGbk, std::u16string_view(&unit, 1), out)) {
                out.push_back('?');
                clean = false;
            }
        }
    }
    if (lossless != nullptr) {
        *lossless = clean;
    }
    return out;
}

// One GBK character of `bytes` (one or two bytes), or false when they are not exactly one.
bool DecodeOne(std::string_view bytes, char16_t& unit) {
    wchar_t out[2] = {};
    const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes.data(),
                                      static_cast<int>(bytes.size()), out, 2);
    unit = static_cast<char16_t>(out[0]);
    return n == 1 && !IsPrivateUse(unit);
}

std::u16string DecodeGbk(std::string_view gbkText) {
    std::u16string out;
    if (gbkText.empty()) {
        return out;
    }
    const int length = static_cast<int>(gbkText.size());
    const int n =
        MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbkText.data(), length, nullptr, 0);
    if (n > 0) {
        out.resize(static_cast<size_t>(n));
        MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbkText.data(), length,
                            reinterpret_cast<wchar_t*>(out.data()), n);
        bool privateUse = false;
        for (const char16_t unit : out) {
            privateUse = privateUse || IsPrivateUse(unit);
        }
        if (!privateUse) {
            return out;
        }
        out.clear();
    }
    // Byte by byte: every byte that starts no valid character becomes one U+FFFD.
    for (size_t i = 0; i < gbkText.size();) {
        char16_t unit = 0;
        if (static_cast<unsigned char>(gbkText[i]) < 0x80) {
            out.push_back(static_cast<char16_t>(gbkText[i]));
            ++i;
        } else if (i + 1 < gbkText.size() && DecodeOne(gbkText.substr(i, 2), unit)) {
            out.push_back(unit);
            i += 2;
        } else {
            out.push_back(DecodeOne(gbkText.substr(i, 1), unit) ? unit : kReplacement);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8, bool* lossless) {
    // Malformed UTF-8 becomes U+FFFD, which GBK cannot hold, so it ends as "?" as well.
    return EncodeGbk(DecodeUtf8(utf8), lossless);
}

std::string GbkToUtf8(std::string_view gbkText) {
    std::string out;
    EncodeExactly(CP_UTF8, DecodeGbk(gbkText), out);
    return out;
}

std::string Utf16ToGbk(std::u16string_view utf16, bool* lossless) {
    return EncodeGbk(utf16, lossless);
}

std::u16string GbkToUtf16(std::string_view gbkText) {
    return DecodeGbk(gbkText);
}

void AppendUtf8ToGbk(std::string_view utf8, std::string& out, bool* lossless) {
    out += Utf8ToGbk(utf8, lossless);
}

void AppendGbkToUtf8(std::string_view gbkText, std::string& out) {
    EncodeExactly(CP_UTF8, DecodeGbk(gbkText), out);
}

}  // namespace gbk::codec
