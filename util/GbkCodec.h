#pragma once

#include <string>
#include <string_view>

// The platform's GBK <-> UTF-8 and UTF-16 conversion (iconv on POSIX, the code-page API on
// Windows). Characters that cannot be converted are replaced: "?" towards GBK, U+FFFD towards
// Unicode. A lone surrogate in UTF-16 counts as unconvertible.
//
// Both backends follow the same rules, so text and files convert alike on every system:
// - towards GBK, one "?" per character that has no exact GBK form (a surrogate pair is one
//   character; malformed UTF-8 is one character per lead byte and the continuation bytes it
//   claims); nothing is replaced by a similar-looking character ("best fit");
// - towards Unicode, one U+FFFD per byte that starts no valid GBK character;
// - the private-use range U+E000..U+F8FF is no text: GBK's user-defined areas (AAA1-AFFE,
//   F8A1-FEFE, A140-A7A0), which Windows maps into it, decode as invalid bytes, and private-use
//   characters have no GBK form. Their look depends on the fonts of one machine, and iconv
//   knows neither direction, so a file holding them would read differently elsewhere.
namespace gbk::codec {

std::string Utf8ToGbk(std::string_view utf8, bool* lossless);
std::string GbkToUtf8(std::string_view gbkText);
// The same, appending to `out`: a caller converting many short texts reuses one buffer.
void AppendUtf8ToGbk(std::string_view utf8, std::string& out, bool* lossless);
void AppendGbkToUtf8(std::string_view gbkText, std::string& out);
std::string Utf16ToGbk(std::u16string_view utf16, bool* lossless);
std::u16string GbkToUtf16(std::string_view gbkText);

}  // namespace gbk::codec
