#include "util/FoldedKeyword.h"

#include <bit>
#include <cstring>

#include "util/GbkCase.h"
#include "util/GbkText.h"

namespace gbk {

using namespace case_detail;

namespace {

constexpr uint64_t kOnes = 0x0101010101010101;
constexpr uint64_t kHigh = 0x8080808080808080;

uint64_t Load(const unsigned char* at) {
    uint64_t word = 0;
    std::memcpy(&word, at, 8);
    return word;
}

// The high bit of every zero byte of `word`, in memory order from the lowest bit up (bytes
// above a zero byte may be marked too).
uint64_t ZeroBytes(uint64_t word) {
    const uint64_t marks = (word - kOnes) & ~word & kHigh;
    return std::endian::native == std::endian::little ? marks : __builtin_bswap64(marks);
}

}  // namespace

FoldedKeyword::ByteTest FoldedKeyword::TestFor(unsigned char folded) {
    // Folding gives an ASCII letter from the letter of either case and every other byte from
    // itself: the lead byte of a double-byte letter stays, only its trail changes.
    const bool letter = folded >= 'a' && folded <= 'z';
    return ByteTest{letter ? 0x20 * kOnes : 0, folded * kOnes};
}

FoldedKeyword::FoldedKeyword(std::string_view keyword) : m_folded(ToLower(keyword)) {
    if (m_folded.empty()) {
        return;
    }
    const auto first = static_cast<unsigned char>(m_folded[0]);
    m_first = TestFor(first);
    // After a single-byte first character the second byte starts a character of its own.
    m_testSecond = m_folded.size() >= 2 && first < 0x80;
    if (m_testSecond) {
        m_second = TestFor(static_cast<unsigned char>(m_folded[1]));
    }
}

bool FoldedKeyword::FoundIn(std::string_view text) const {
    const size_t n = text.size();
    const size_t m = m_folded.size();
    if (m > n) {
        return false;  // folding keeps the length
    }
    if (m == 0) {
        return true;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t lastStart = n - m;
    size_t boundary = 0;  // the next character boundary not yet passed
    // Whether the keyword starts at `at`, which passed the byte tests.
    const auto confirm = [&](size_t at) {
        while (boundary < at) {
            boundary += IsLeadByte(bytes[boundary]) && boundary + 1 < n ? 2 : 1;
        }
        return boundary == at && MatchesAt(text, at);
    };
    // Eight starting positions at a time: the bytes there (and after them) pass the byte tests.
    // The last block may overlap the one before; positions already tried are skipped.
    size_t next = 0;  // the first start not yet tried
    if (lastStart + 1 >= 8 && n >= (m_testSecond ? 9u : 8u)) {
        const size_t lastBlock = std::min(lastStart + 1, n - (m_testSecond ? 9 : 8) + 1) - 1;
        for (size_t block = 0;; block = std::min(block + 8, lastBlock)) {
            uint64_t hits = ZeroBytes((Load(bytes + block) | m_first.orMask) ^ m_first.value);
            if (m_testSecond && hits != 0) {
                hits &= ZeroBytes((Load(bytes + block + 1) | m_second.orMask) ^ m_second.value);
            }
            for (; hits != 0; hits &= hits - 1) {
                const size_t at = block + static_cast<size_t>(std::countr_zero(hits)) / 8;
                if (at >= next && at <= lastStart && confirm(at)) {
                    return true;
                }
            }
            next = block + 8;
            if (block == lastBlock) {
                break;
            }
        }
    }
    for (size_t at = next; at <= lastStart; ++at) {
        const unsigned char c = bytes[at];
        if ((c | static_cast<unsigned char>(m_first.orMask)) ==
                static_cast<unsigned char>(m_first.value) &&
            confirm(at)) {
            return true;
        }
    }
    return false;
}

bool FoldedKeyword::MatchesAt(std::string_view text, size_t at) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    const size_t m = m_folded.size();
    for (size_t j = 0; j < m; ++j) {
        const unsigned char c = bytes[at + j];
        unsigned char folded = c < 0x80 ? kAscii.lower[c] : c;
        if (IsLeadByte(c) && at + j + 1 < n) {
            if (folded != static_cast<unsigned char>(m_folded[j])) {
                return false;
            }
            if (++j == m) {
                return true;  // the keyword ends with this character's lead byte
            }
            folded = FoldTrail(c, bytes[at + j], Case::kLower);
        }
        if (folded != static_cast<unsigned char>(m_folded[j])) {
            return false;
        }
    }
    return true;
}

}  // namespace gbk
