#include "util/FieldString.h"

#include "util/GbkText.h"

namespace {
thread_local char t_currentSeparator = '|';
thread_local char t_savedSeparator = '|';
}  // namespace

std::string CFieldString::FieldOf(const std::string& text, int index, char separator) {
    if (index < 0) {
        return {};
    }
    size_t start = 0;
    for (int passed = 0; passed < index; ++passed) {
        const size_t sep = text.find(separator, start);
        if (sep == std::string::npos) {
            return {};
        }
        start = sep + 1;
    }
    if (start >= text.size()) {
        return {};
    }
    const size_t end = text.find(separator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

CFieldString CFieldString::GetField(int index, char separator) const {
    // Split directly at the given byte; the current separator is never touched.
    return CFieldString(FieldOf(m_text, index, separator));
}

CFieldString CFieldString::GetField(int index) const {
    return CFieldString(FieldOf(m_text, index, t_currentSeparator));
}

int CFieldString::CountOf(const std::string& pattern) const {
    if (pattern.empty()) {
        return 0;
    }
    int count = 0;
    size_t from = 0;
    while (true) {
        const size_t pos = gbk::Find(m_text, pattern, from);
        if (pos == std::string::npos) {
            return count;
        }
        ++count;
        from = pos + pattern.size();
    }
}

CFieldString CFieldString::DropLastChar() {
    if (!m_text.empty()) {
        m_text.pop_back();
    }
    return *this;
}

char CFieldString::CurrentSeparator() {
    return t_currentSeparator;
}

char CFieldString::SetSeparator(char separator) {
    t_savedSeparator = t_currentSeparator;
    t_currentSeparator = separator;
    return t_currentSeparator;
}

char CFieldString::RestoreSeparator() {
    t_currentSeparator = t_savedSeparator;
    return t_currentSeparator;
}
