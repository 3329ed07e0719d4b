#pragma once

#include <cstdint>

// Case folding of GBK text, shared by the folding helpers and the keyword search that folds as
// it compares.
namespace gbk::case_detail {

// Case pairs of GBK double-byte letters: lead byte, first upper-case trail, last upper-case
// trail, distance from upper to lower trail.
struct CaseRange {
    unsigned char lead;
    unsigned char upperFirst;
    unsigned char upperLast;
    unsigned char offset;
};
inline constexpr CaseRange kCaseRanges[] = {
    {0xA3, 0xC1, 0xDA, 0x20},  // full-width Latin A-Z / a-z
    {0xA6, 0xA1, 0xB8, 0x20},  // Greek
    {0xA7, 0xA1, 0xC1, 0x30},  // Cyrillic
};

enum class Case { kLower, kUpper };

// ASCII case tables: every byte below 0x80 maps to itself or its other case.
struct AsciiTables {
    unsigned char lower[128];
    unsigned char upper[128];
    constexpr AsciiTables() : lower(), upper() {
        for (int c = 0; c < 128; ++c) {
            lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
    }
};
inline constexpr AsciiTables kAscii;

// Folds eight ASCII bytes at once: every byte in [first, last] gets bit 0x20 set (lower case)
// or cleared (upper case). No byte is 0x80 or above, so no sum below carries into the next byte.
inline uint64_t FoldAsciiWord(uint64_t word, Case to) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHigh = 0x8080808080808080;
    const uint64_t first = to == Case::kLower ? 'A' : 'a';
    const uint64_t last = to == Case::kLower ? 'Z' : 'z';
    const uint64_t atLeastFirst = word + (0x80 - first) * kOnes;
    const uint64_t aboveLast = word + (0x7F - last) * kOnes;
    const uint64_t inRange = atLeastFirst & ~aboveLast & kHigh;
    return to == Case::kLower ? word | inRange >> 2 : word & ~(inRange >> 2);
}

// The trail byte of the double-byte character `lead`,`trail` in case `to`.
inline unsigned char FoldTrail(unsigned char lead, unsigned char trail, Case to) {
    for (const CaseRange& r : kCaseRanges) {
        if (r.lead != lead) {
            continue;
        }
        if (to == Case::kLower && trail >= r.upperFirst && trail <= r.upperLast) {
            return static_cast<unsigned char>(trail + r.offset);
        }
        if (to == Case::kUpper && trail >= r.upperFirst + r.offset &&
            trail <= r.upperLast + r.offset) {
            return static_cast<unsigned char>(trail - r.offset);
        }
    }
    return trail;
}

}  // namespace gbk::case_detail
