#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace Qm_conf_solitude {

namespace detail {
// A length field: up to four bytes read like the C library's atoi.
long ReadLengthFieldLikeAtoi(std::string_view text, size_t pos);
// The same, with four plain digits (every field this program writes) read inline.
inline long ReadLengthField(std::string_view text, size_t pos) {
    if (pos <= text.size() && text.size() - pos >= 4) {
        const auto digit = [&text, pos](size_t i) {
            return static_cast<unsigned>(static_cast<unsigned char>(text[pos + i])) - '0';
        };
        const unsigned d0 = digit(0), d1 = digit(1), d2 = digit(2), d3 = digit(3);
        if (std::max({d0, d1, d2, d3}) <= 9) {
            return static_cast<long>(d0 * 1000 + d1 * 100 + d2 * 10 + d3);
        }
    }
    return ReadLengthFieldLikeAtoi(text, pos);
}

// True when `expected` stands at `pos`. `N` is its length when known when compiling (0: not
// known): the comparisons of the one- to three-byte marks then unroll. Byte by byte, as a call
// to memcmp costs more than the marks.
template <size_t N>
inline bool HasAt(std::string_view text, size_t pos, std::string_view expected) {
    const size_t n = N != 0 ? N : expected.size();
    if (pos > text.size() || text.size() - pos < n) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        if (text[pos + i] != expected[i]) {
            return false;
        }
    }
    return true;
}
}  // namespace detail

// Reads the length-prefixed records of a pair file's text one at a time, from a cursor on:
//   NNNN#key = NNNN#value CR LF
// `MarkerSize` and `TerminatorSize` are the lengths of the field marker and the terminator when
// known when compiling (0: not known); the comparisons of the marks then unroll. One record
// depends only on its own bytes, so several readers over one text may run side by side.
template <size_t MarkerSize, size_t TerminatorSize>
class RecordReader {
public:
    RecordReader(std::string_view text, size_t cursor, std::string_view fieldMarker,
                 std::string_view terminator)
        : m_text(text), m_marker(fieldMarker), m_terminator(terminator), m_cursor(cursor) {}

    // Reads the well-formed record at the cursor into `key` and `value` (views into the text)
    // and moves the cursor past it; false, the cursor staying (and the views of no use), at the
    // end of the text or where no well-formed record stands.
    bool Next(std::string_view& key, std::string_view& value) {
        constexpr std::string_view kSeparator = " = ";
        size_t pos = m_cursor;
        if (pos >= m_text.size() || !ReadField(pos, key) ||
            !detail::HasAt<kSeparator.size()>(m_text, pos, kSeparator)) {
            return false;
        }
        pos += kSeparator.size();
        if (!ReadField(pos, value) || !detail::HasAt<TerminatorSize>(m_text, pos, m_terminator)) {
            return false;
        }
        m_cursor = pos + m_terminator.size();
        return true;
    }

    // Where the next record starts, or where reading stopped.
    size_t Cursor() const { return m_cursor; }

private:
    // Reads a field at `pos` (its four-byte length, the marker, its bytes) into `field` and moves
    // `pos` past it; false when no whole field stands there.
    bool ReadField(size_t& pos, std::string_view& field) const {
        const long length = detail::ReadLengthField(m_text, pos);
        const size_t at = pos + 4 + m_marker.size();
        if (length < 0 || !detail::HasAt<MarkerSize>(m_text, pos + 4, m_marker) ||
            m_text.size() - at < static_cast<size_t>(length)) {
            return false;
        }
        field = std::string_view(m_text.data() + at, static_cast<size_t>(length));
        pos = at + static_cast<size_t>(length);
        return true;
    }

    std::string_view m_text;
    std::string_view m_marker;
    std::string_view m_terminator;
    size_t m_cursor;
};

// Visits every record `reader` reads, in order; returns where it stopped.
template <typename Reader, typename Visit>
size_t ReadAllRecords(Reader reader, Visit& visit) {
    std::string_view key;
    std::string_view value;
    while (reader.Next(key, value)) {
        visit(key, value);
    }
    return reader.Cursor();
}

}  // namespace Qm_conf_solitude
