#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/TermRecord.h"

namespace detail {

inline bool StoredUnderTermBytewise(std::string_view key, std::string_view value) {
    return key == value.substr(0, value.find(CTermRecord::kSeparator));
}

#if defined(__SSE2__)
// The bytes of a block of 16 where the key differs from the value or holds a separator, as bits.
inline uint64_t Mismatches16(const char* key, const char* value) {
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key));
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(value));
    const __m128i separator = _mm_set1_epi8(CTermRecord::kSeparator);
    const __m128i bad = _mm_or_si128(_mm_andnot_si128(_mm_cmpeq_epi8(k, v), _mm_set1_epi8(-1)),
                                     _mm_cmpeq_epi8(k, separator));
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(bad)));
}
#endif

}  // namespace detail

// True when the record `key` = `value` is stored under its own term: `key` is exactly the text
// of `value` before its first CTermRecord::kSeparator (all of it when there is none), as every
// file this program writes has it. `readable` is the memory that holds both views and may be
// read whole, with `key` and `value` inside it: where it extends far enough beyond the term, the
// comparison takes 16 bytes at a time. Inline, as a scan calls it once for every record.
inline bool StoredUnderTerm(std::string_view key, std::string_view value,
                            std::string_view readable) {
    const size_t n = key.size();
    if (value.size() < n) {
        return false;
    }
#if defined(__SSE2__)
    // Terms up to 48 bytes (nearly all) take three blocks with no loop, so that the term's length
    // decides no branch; longer ones go 16 bytes at a time.
    constexpr size_t kShort = 48;
    const size_t span = n <= kShort ? kShort : n + 16;
    const auto fits = [&readable, span](std::string_view s) {
        return static_cast<size_t>(s.data() - readable.data()) + span <= readable.size();
    };
    if (fits(key) && fits(value)) {
        if (n <= kShort) {
            const uint64_t mismatches =
                detail::Mismatches16(key.data(), value.data()) |
                detail::Mismatches16(key.data() + 16, value.data() + 16) << 16 |
                detail::Mismatches16(key.data() + 32, value.data() + 32) << 32;
            if ((mismatches & ((uint64_t{1} << n) - 1)) != 0) {
                return false;
            }
        } else {
            for (size_t i = 0; i < n; i += 16) {
                const uint64_t counted = n - i >= 16 ? 0xFFFFu : (uint64_t{1} << (n - i)) - 1;
                if ((detail::Mismatches16(key.data() + i, value.data() + i) & counted) != 0) {
                    return false;
                }
            }
        }
        return value.size() == n || value[n] == CTermRecord::kSeparator;
    }
#endif
    return detail::StoredUnderTermBytewise(key, value);
}
