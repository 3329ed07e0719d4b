#pragma once

#include <string>
#include <string_view>

// The platform's GBK <-> UTF-8 conversion (iconv on POSIX, the code-page API on Windows).
// Characters that cannot be converted are replaced: "?" towards GBK, U+FFFD towards UTF-8.
namespace gbk::codec {

std::string Utf8ToGbk(std::string_view utf8, bool* lossless);
std::string GbkToUtf8(std::string_view gbkText);

}  // namespace gbk::codec
