#pragma once

#include <string>

// A text made of fields joined by a one-byte separator: the term record (0x07), the cells of a
// list row (0x08) and the column titles of a list (the current separator, initially "|").
class CFieldString {
public:
    CFieldString() = default;
    CFieldString(std::string text) : m_text(std::move(text)) {}  // NOLINT: implicit by design
    CFieldString(const char* text) : m_text(text) {}             // NOLINT: implicit by design

    const std::string& str() const { return m_text; }
    operator const std::string&() const { return m_text; }  // NOLINT: implicit by design

    // Field `index` (from 0) of the text split at `separator`; the current separator is left as
    // it was. A missing or negative field is the empty text.
    CFieldString GetField(int index, char separator) const;
    // The same, split at the current separator.
    CFieldString GetField(int index) const;

    // Number of non-overlapping, multibyte-aware occurrences of `pattern`. An empty pattern
    // counts 0.
    int CountOf(const std::string& pattern) const;

    // Removes the last byte in place and returns the shortened text.
    CFieldString DropLastChar();

    // The current separator. It is held per thread, so a list fill on one thread never sees a
    // separator set by another; the start value is "|" on every thread.
    static char CurrentSeparator();
    // Saves the current separator in the one-level slot and makes `separator` current.
    static char SetSeparator(char separator);
    // Makes the saved separator current again.
    static char RestoreSeparator();

private:
    static std::string FieldOf(const std::string& text, int index, char separator);

    std::string m_text;
};

inline bool operator==(const CFieldString& a, const CFieldString& b) {
    return a.str() == b.str();
}
inline bool operator==(const CFieldString& a, const std::string& b) {
    return a.str() == b;
}
inline bool operator==(const CFieldString& a, const char* b) {
    return a.str() == b;
}
