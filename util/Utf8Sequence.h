#pragma once

#include <cstddef>

// The shape of UTF-8 and UTF-16 sequences, shared by the codec backends so that both replace
// the same malformed input the same way.
namespace gbk::codec {

// The length a UTF-8 sequence starting with `lead` claims; 1 for a byte that cannot start one.
inline size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    return 1;
}

inline bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

inline bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace gbk::codec
