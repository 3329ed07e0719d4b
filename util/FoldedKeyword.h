#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gbk {

// A keyword looked for in many texts the way the keyword query looks for it: both folded to
// lower case, the keyword found only where a character of the text begins. FoundIn(text) is
// Find(ToLower(text), ToLower(keyword)) != npos, without folding or copying the text: sixteen
// places are tested at once for the keyword's first two bytes where the processor allows it.
class FoldedKeyword {
public:
    explicit FoldedKeyword(std::string_view keyword);

    bool FoundIn(std::string_view text) const;

    // The first place from `from` on where `bytes` may hold the keyword: its first bytes pass
    // the tests FoundIn makes before it compares; `bytes.size()` when there is none. For many
    // texts laid end to end, so that those without such a place are passed over in one sweep.
    // The empty keyword may stand anywhere.
    size_t NextCandidate(std::string_view bytes, size_t from) const;

private:
    // A byte of the text that may fold to a given byte of the keyword: (byte | orMask) == value.
    struct ByteTest {
        unsigned char orMask = 0;  // 0x20 for a letter (either case matches), else 0
        unsigned char value = 0;
    };
    static ByteTest TestFor(unsigned char folded);

    // True when the keyword is the folded text from `at` (a character boundary) on.
    bool MatchesAt(std::string_view text, size_t at) const;

    std::string m_folded;
    ByteTest m_first;
    ByteTest m_second;  // the keyword's second byte, when it is a character's first byte too
    bool m_testSecond = false;
};

}  // namespace gbk
