#include <windows.h>

#include <string>

#include "util/GbkCodec.h"

namespace gbk::codec {
namespace {

constexpr UINT kGbk = 936;

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, bool* lossless) {
    if (lossless != nullptr) {
        *lossless = true;
    }
    if (wide.empty()) {
        return {};
    }
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultPtr = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const char* defaultChar = codePage == CP_UTF8 ? nullptr : "?";
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, defaultChar, usedDefaultPtr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        defaultChar, usedDefaultPtr);
    if (lossless != nullptr && usedDefault) {
        *lossless = false;
    }
    return out;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8, bool* lossless) {
    // Malformed UTF-8 becomes U+FFFD, which GBK cannot hold, so it ends as "?" as well.
    return Narrow(Widen(utf8, CP_UTF8), kGbk, lossless);
}

std::string GbkToUtf8(std::string_view gbkText) {
    return Narrow(Widen(gbkText, kGbk), CP_UTF8, nullptr);
}

std::string Utf16ToGbk(std::u16string_view utf16, bool* lossless) {
    // wchar_t is UTF-16 on Windows.
    return Narrow(std::wstring(utf16.begin(), utf16.end()), kGbk, lossless);
}

std::u16string GbkToUtf16(std::string_view gbkText) {
    const std::wstring wide = Widen(gbkText, kGbk);
    return std::u16string(wide.begin(), wide.end());
}

}  // namespace gbk::codec
