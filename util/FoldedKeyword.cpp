#include "util/FoldedKeyword.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "util/GbkCase.h"
#include "util/GbkText.h"

namespace gbk {

using namespace case_detail;

namespace {

#if defined(__SSE2__)
// Bit k is set when byte k of the 16 at `at` passes the test.
unsigned Hits16(const unsigned char* at, __m128i orMask, __m128i value) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(bytes, orMask), value)));
}
#endif

}  // namespace

FoldedKeyword::ByteTest FoldedKeyword::TestFor(unsigned char folded) {
    // Folding gives an ASCII letter from the letter of either case and every other byte from
    // itself: the lead byte of a double-byte letter stays, only its trail changes.
    const bool letter = folded >= 'a' && folded <= 'z';
    return ByteTest{static_cast<unsigned char>(letter ? 0x20 : 0), folded};
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
    size_t next = 0;  // the first start not yet tried
#if defined(__SSE2__)
    // Sixteen starting positions at a time: the bytes there (and after them) pass the byte
    // tests. The last block may overlap the one before; starts already tried are skipped.
    const size_t width = m_testSecond ? 17 : 16;
    if (n >= width) {
        const __m128i firstOr = _mm_set1_epi8(static_cast<char>(m_first.orMask));
        const __m128i firstValue = _mm_set1_epi8(static_cast<char>(m_first.value));
        const __m128i secondOr = _mm_set1_epi8(static_cast<char>(m_second.orMask));
        const __m128i secondValue = _mm_set1_epi8(static_cast<char>(m_second.value));
        const size_t lastBlock = std::min(lastStart, n - width);
        for (size_t block = 0;; block = std::min(block + 16, lastBlock)) {
            unsigned hits = Hits16(bytes + block, firstOr, firstValue);
            if (m_testSecond && hits != 0) {
                hits &= Hits16(bytes + block + 1, secondOr, secondValue);
            }
            for (; hits != 0; hits &= hits - 1) {
                const size_t at = block + static_cast<size_t>(std::countr_zero(hits));
                if (at >= next && at <= lastStart && confirm(at)) {
                    return true;
                }
            }
            next = block + 16;
            if (block == lastBlock) {
                break;
            }
        }
    }
#endif
    for (size_t at = next; at <= lastStart; ++at) {
        const unsigned char c = bytes[at];
        if ((c | m_first.orMask) == m_first.value && confirm(at)) {
            return true;
        }
    }
    return false;
}

size_t FoldedKeyword::NextCandidate(std::string_view bytes, size_t from) const {
    const size_t n = bytes.size();
    if (m_folded.empty() || from >= n) {
        return std::min(from, n);
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto passes = [&](size_t at) {
        return (data[at] | m_first.orMask) == m_first.value &&
               (!m_testSecond || at + 1 >= n || (data[at + 1] | m_second.orMask) == m_second.value);
    };
    size_t at = from;
#if defined(__SSE2__)
    const __m128i firstOr = _mm_set1_epi8(static_cast<char>(m_first.orMask));
    const __m128i firstValue = _mm_set1_epi8(static_cast<char>(m_first.value));
    const __m128i secondOr = _mm_set1_epi8(static_cast<char>(m_second.orMask));
    const __m128i secondValue = _mm_set1_epi8(static_cast<char>(m_second.value));
    for (; n - at >= 17; at += 16) {
        unsigned hits = Hits16(data + at, firstOr, firstValue);
        if (m_testSecond && hits != 0) {
            hits &= Hits16(data + at + 1, secondOr, secondValue);
        }
        if (hits != 0) {
            return at + static_cast<size_t>(std::countr_zero(hits));
        }
    }
#endif
    for (; at < n; ++at) {
        if (passes(at)) {
            return at;
        }
    }
    return n;
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
