#pragma once

#include <string>
#include <string_view>

// The platform's GBK <-> UTF-8 and UTF-16 conversion (iconv on POSIX, the code-page API on
// Windows). Characters that cannot be converted are replaced: "?" towards GBK, U+FFFD towards
// Unicode. A lone surrogate in UTF-16 counts as unconvertible.
namespace gbk::codec {

std::string Utf8ToGbk(std::string_view utf8, bool* lossless);
std::string GbkToUtf8(std::string_view gbkText);
std::string Utf16ToGbk(std::u16string_view utf16, bool* lossless);
std::u16string GbkToUtf16(std::string_view gbkText);

}  // namespace gbk::codec
