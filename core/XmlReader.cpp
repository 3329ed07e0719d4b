#include "core/XmlReader.h"

#include <cstdint>

#include "util/Utf8Sequence.h"

namespace {

const char kNotWellFormed[] = "the file is not well-formed XML here";

}  // namespace

XmlReader::Token XmlReader::Next() {
    m_name = {};
    m_attributes.clear();
    m_value.clear();
    if (m_pendingEnd) {
        m_pendingEnd = false;
        m_name = m_lastName;
        return Token::kEnd;
    }
    while (m_pos < m_text.size()) {
        if (m_text[m_pos] != '<') {
            return ReadText();
        }
        const char second = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : '\0';
        if (second != '?' && second != '!') {
            return ReadTag();  // the usual case: an element's start or end
        }
        if (Skip("<?", "?>") || Skip("<!--", "-->")) {
            continue;
        }
        if (StartsWith("<![CDATA[")) {
            const size_t end = m_text.find("]]>", m_pos);
            if (end == std::string_view::npos) {
                return Fail(kNotWellFormed);
            }
            m_value.assign(m_text.substr(m_pos + 9, end - m_pos - 9));
            m_pos = end + 3;
            return Token::kText;
        }
        if (StartsWith("<!DOCTYPE")) {
            if (const Token token = SkipDoctype(); token == Token::kError) {
                return token;
            }
            continue;
        }
        return Fail(kNotWellFormed);
    }
    return Token::kEof;
}

std::string XmlReader::Attribute(std::string_view name) const {
    for (const auto& [key, value] : m_attributes) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

bool XmlReader::Skip(std::string_view open, std::string_view close) {
    if (!StartsWith(open)) {
        return false;
    }
    const size_t end = m_text.find(close, m_pos + open.size());
    m_pos = end == std::string_view::npos ? m_text.size() : end + close.size();
    return true;
}

// A doctype names its DTD by an identifier that is never opened. Its internal subset is passed
// over unless it declares entities: their replacement texts would change what the file says.
XmlReader::Token XmlReader::SkipDoctype() {
    const size_t bracket = m_text.find('[', m_pos);
    const size_t close = m_text.find('>', m_pos);
    size_t end = close;
    if (bracket != std::string_view::npos && bracket < close) {
        // The subset ends at "]", space, ">".
        end = std::string_view::npos;
        for (size_t right = m_text.find(']', bracket); right != std::string_view::npos;
             right = m_text.find(']', right + 1)) {
            size_t after = right + 1;
            while (after < m_text.size() && (m_text[after] == ' ' || m_text[after] == '\t' ||
                                             m_text[after] == '\r' || m_text[after] == '\n')) {
                ++after;
            }
            if (after < m_text.size() && m_text[after] == '>') {
                end = after;
                break;
            }
        }
        if (end != std::string_view::npos &&
            m_text.substr(bracket, end - bracket).find("<!ENTITY") != std::string_view::npos) {
            return Fail("the file declares entities, which are never expanded");
        }
    }
    if (end == std::string_view::npos) {
        return Fail(kNotWellFormed);
    }
    m_pos = end + 1;
    return Token::kStart;  // anything but kError: the caller reads on
}

// Text up to the next tag, line ends normalised to LF before entities are replaced.
XmlReader::Token XmlReader::ReadText() {
    while (m_pos < m_text.size() && m_text[m_pos] != '<') {
        size_t end = m_pos;
        while (end < m_text.size() && m_text[end] != '<' && m_text[end] != '&' &&
               m_text[end] != '\r') {
            ++end;
        }
        m_value.append(m_text.substr(m_pos, end - m_pos));
        m_pos = end;
        if (m_pos >= m_text.size() || m_text[m_pos] == '<') {
            break;
        }
        if (m_text[m_pos] == '\r') {
            m_value.push_back('\n');
            m_pos += m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n' ? 2 : 1;
        } else if (!ReadEntity(m_value)) {
            return Token::kError;
        }
    }
    return Token::kText;
}

bool XmlReader::ReadEntity(std::string& out) {
    const size_t end = m_text.find(';', m_pos);
    if (end == std::string_view::npos || end - m_pos > 12) {
        Fail("a \"&\" that starts no entity or character reference");
        return false;
    }
    const std::string_view name = m_text.substr(m_pos + 1, end - m_pos - 1);
    m_pos = end + 1;
    if (name == "amp") {
        out.push_back('&');
    } else if (name == "lt") {
        out.push_back('<');
    } else if (name == "gt") {
        out.push_back('>');
    } else if (name == "quot") {
        out.push_back('"');
    } else if (name == "apos") {
        out.push_back('\'');
    } else if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        uint32_t cp = 0;
        for (const char d : name.substr(hex ? 2 : 1)) {
            const int digit = d >= '0' && d <= '9'          ? d - '0'
                              : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                              : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                            : -1;
            if (digit < 0 || cp > 0x10FFFF) {
                Fail("the character reference &" + std::string(name) + "; is not valid");
                return false;
            }
            cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        }
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            Fail("the character reference &" + std::string(name) + "; is not valid");
            return false;
        }
        gbk::codec::AppendUtf8(out, cp);
    } else {
        Fail("the entity &" + std::string(name) +
             "; is not one XML predefines (entities are never expanded)");
        return false;
    }
    return true;
}

XmlReader::Token XmlReader::ReadTag() {
    const bool closing = StartsWith("</");
    m_pos += closing ? 2 : 1;
    m_name = ReadName();
    if (m_name.empty()) {
        return Fail(kNotWellFormed);
    }
    while (true) {
        SkipSpace();
        if (m_pos >= m_text.size()) {
            return Fail(kNotWellFormed);
        }
        if (m_text[m_pos] == '>') {
            ++m_pos;
            return closing ? Token::kEnd : Token::kStart;
        }
        if (!closing && StartsWith("/>")) {
            m_pos += 2;
            m_pendingEnd = true;  // an empty element: its end comes next
            m_lastName = m_name;
            return Token::kStart;
        }
        if (closing) {
            return Fail(kNotWellFormed);
        }
        const std::string_view key = ReadName();
        SkipSpace();
        if (key.empty() || m_pos >= m_text.size() || m_text[m_pos] != '=') {
            return Fail(kNotWellFormed);
        }
        ++m_pos;
        SkipSpace();
        if (m_pos >= m_text.size() || (m_text[m_pos] != '"' && m_text[m_pos] != '\'')) {
            return Fail(kNotWellFormed);
        }
        const char quote = m_text[m_pos++];
        std::string value;
        while (m_pos < m_text.size() && m_text[m_pos] != quote) {
            if (m_text[m_pos] == '&') {
                if (!ReadEntity(value)) {
                    return Token::kError;
                }
            } else {
                value.push_back(m_text[m_pos++]);
            }
        }
        if (m_pos >= m_text.size()) {
            return Fail(kNotWellFormed);
        }
        ++m_pos;
        m_attributes.emplace_back(key, std::move(value));
    }
}

std::string_view XmlReader::ReadName() {
    const size_t start = m_pos;
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' || c == '=') {
            break;
        }
        ++m_pos;
    }
    return m_text.substr(start, m_pos - start);
}

void XmlReader::SkipSpace() {
    while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                     m_text[m_pos] == '\r' || m_text[m_pos] == '\n')) {
        ++m_pos;
    }
}

XmlReader::Token XmlReader::Fail(std::string problem) {
    m_problem = std::move(problem);
    return Token::kError;
}
