#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// GBK (code page 936) byte strings: conversion at the edges, case folding and the
// multibyte-aware substring search. Every text the program holds is GBK; these helpers are the
// only place where it meets UTF-8 or UTF-16.
namespace gbk {

// True for a byte that starts a double-byte character.
inline bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// UTF-8 -> GBK. A character GBK cannot represent, and a malformed UTF-8 sequence, becomes "?".
std::string FromUtf8(std::string_view utf8);
// GBK -> UTF-8. A byte sequence that is not valid GBK becomes U+FFFD.
std::string ToUtf8(std::string_view gbkText);
// UTF-16 <-> GBK, with the same replacement rules.
std::string FromUtf16(std::u16string_view utf16);
std::u16string ToUtf16(std::string_view gbkText);

// True when the UTF-8 text converts to GBK without any replacement.
bool IsRepresentable(std::string_view utf8);
// UTF-8 -> GBK and back, appending to `out`, for callers that convert many short texts; the first
// is false when a character had to be replaced.
bool AppendFromUtf8Exact(std::string_view utf8, std::string& out);
void AppendToUtf8(std::string_view gbkText, std::string& out);

// Case folding of ASCII letters and of the GBK double-byte letters with case forms (full-width
// Latin, Greek, Cyrillic). Chinese characters and every other byte stay unchanged.
std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
// Appends the lower-case form of `text` to `out`.
void AppendLower(std::string& out, std::string_view text);

// Position of the first occurrence of `needle` in `haystack` at or after `from` that starts on a
// character boundary (never on the trail byte of a double-byte character); npos when none.
// `from` must itself be a character boundary. An empty needle is found at `from`.
size_t Find(std::string_view haystack, std::string_view needle, size_t from = 0);

// Cuts `text` to at most `maxBytes` bytes without splitting a double-byte character.
std::string TruncateBytes(std::string_view text, size_t maxBytes);

}  // namespace gbk

// A Chinese literal written in UTF-8 source, converted to GBK once per call site.
// Usage: GBK("术语|汉意").
#define GBK(utf8Literal)                                                   \
    ([]() -> const std::string& {                                          \
        static const std::string converted = ::gbk::FromUtf8(utf8Literal); \
        return converted;                                                  \
    }())
