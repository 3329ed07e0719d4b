#include "core/exchange/XmlReader.h"

#include <algorithm>
#include <cstdint>

#include "util/Utf8Sequence.h"

namespace {

const char kNotWellFormed[] = "the file is not well-formed XML here";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The bytes that end a name: space, "/", ">" and "=".
struct NameEnds {
    bool table[256] = {};
    constexpr NameEnds() {
        for (const unsigned char c : {' ', '\t', '\r', '\n', '/', '>', '='}) {
            table[c] = true;
        }
    }
};
constexpr NameEnds kNameEnds;

}  // namespace

XmlReader::Token XmlReader::Next() {
    m_name = {};
    m_attributes.clear();
    m_replacedAttributeCount = 0;
    m_value = {};
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
            m_value = m_text.substr(m_pos + 9, end - m_pos - 9);
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

std::string_view XmlReader::Attribute(std::string_view name) const {
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

// Text up to the next tag, line ends normalised to LF before entities are replaced. Text
// without either is a view into the file.
XmlReader::Token XmlReader::ReadText() {
    const size_t tag = std::min(m_text.find('<', m_pos), m_text.size());
    const std::string_view text = m_text.substr(m_pos, tag - m_pos);
    if (text.find('&') == std::string_view::npos && text.find('\r') == std::string_view::npos) {
        m_value = text;
        m_pos = tag;
        return Token::kText;
    }
    m_replaced.clear();
    while (m_pos < tag) {
        size_t end = m_pos;
        while (end < tag && m_text[end] != '&' && m_text[end] != '\r') {
            ++end;
        }
        m_replaced.append(m_text.substr(m_pos, end - m_pos));
        m_pos = end;
        if (m_pos >= tag) {
            break;
        }
        if (m_text[m_pos] == '\r') {
            m_replaced.push_back('\n');
            m_pos += m_pos + 1 < tag && m_text[m_pos + 1] == '\n' ? 2 : 1;
        } else if (!ReadEntity(m_replaced)) {
            return Token::kError;
        }
    }
    m_value = m_replaced;
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
        std::string_view value;
        if (!ReadAttributeValue(m_text[m_pos++], value)) {
            return Token::kError;
        }
        m_attributes.emplace_back(key, value);
    }
}

// The value up to the closing quote: a view into the file unless it holds an entity.
bool XmlReader::ReadAttributeValue(char quote, std::string_view& value) {
    const size_t close = m_text.find(quote, m_pos);
    if (close == std::string_view::npos) {
        Fail(kNotWellFormed);
        return false;
    }
    value = m_text.substr(m_pos, close - m_pos);
    if (value.find('&') == std::string_view::npos) {
        m_pos = close + 1;
        return true;
    }
    if (m_replacedAttributes.size() == m_replacedAttributeCount) {
        m_replacedAttributes.emplace_back();
    }
    std::string& replaced = m_replacedAttributes[m_replacedAttributeCount++];
    replaced.clear();
    while (m_pos < close) {
        if (m_text[m_pos] != '&') {
            replaced.push_back(m_text[m_pos++]);
        } else if (!ReadEntity(replaced)) {
            return false;  // no name or number of a reference holds a quote: it ends before it
        }
    }
    m_pos = close + 1;
    value = replaced;
    return true;
}

std::string_view XmlReader::ReadName() {
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !kNameEnds.table[static_cast<unsigned char>(m_text[m_pos])]) {
        ++m_pos;
    }
    return m_text.substr(start, m_pos - start);
}

void XmlReader::SkipSpace() {
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
        ++m_pos;
    }
}

XmlReader::Token XmlReader::Fail(std::string problem) {
    m_problem = std::move(problem);
    return Token::kError;
}
