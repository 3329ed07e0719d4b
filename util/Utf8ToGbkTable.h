#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gbk {

// A table-driven UTF-8 -> GBK conversion for bulk work (importing a glossary of a million
// entries), several times faster than the platform codec. The table is learnt from the codec
// itself, one character at a time, so it converts exactly as the codec does; whatever it does
// not know for certain (malformed UTF-8, characters beyond U+FFFF, characters GBK lacks) it
// leaves to the codec.
class Utf8ToGbkTable {
public:
    // The table, learnt on first use (a few milliseconds, so not worth it for a short text).
    static const Utf8ToGbkTable& Get();

    // Appends `utf8` in GBK to `out` and returns true when every character converts exactly;
    // otherwise appends what the codec makes of it (with its replacements) and returns false.
    bool AppendExact(std::string_view utf8, std::string& out) const;

    // How many characters above ASCII the table converts without the codec.
    size_t KnownCharacters() const;

private:
    Utf8ToGbkTable();
    bool AppendKnown(std::string_view utf8, std::string& out) const;

    // GBK bytes by BMP code point: a double-byte character as lead << 8 | trail, a single byte
    // as itself; 0 when the table leaves the character to the codec.
    std::vector<uint16_t> m_gbk;
    bool m_asciiIsIdentity = false;
};

}  // namespace gbk
