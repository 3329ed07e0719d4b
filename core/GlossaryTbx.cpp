#include <cstdint>

#include "core/GlossaryExchange.h"
#include "util/Utf8Sequence.h"

namespace glossary_exchange::detail {
namespace {

// XML 1.0 allows no control character but tab, line feed and carriage return.
bool IsXmlChar(unsigned char c) {
    return c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
}

bool AppendEscaped(std::string& out, std::string_view text) {
    size_t run = 0;  // start of the bytes that need no escape
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const char* escaped = nullptr;
        switch (c) {
            case '&':
                escaped = "&amp;";
                break;
            case '<':
                escaped = "&lt;";
                break;
            case '>':
                escaped = "&gt;";
                break;
            case '"':
                escaped = "&quot;";
                break;
            case '\'':
                escaped = "&apos;";
                break;
            case '\r':
                escaped = "&#13;";  // a literal CR would become a LF in any XML reader
                break;
            default:
                if (!IsXmlChar(c)) {
                    return false;
                }
                continue;
        }
        out.append(text.substr(run, i - run)).append(escaped);
        run = i + 1;
    }
    out.append(text.substr(run));
    return true;
}

// A small XML reader: elements with attributes, text with the predefined and numeric
// entities, CDATA; declarations, comments, processing instructions and a doctype are skipped.
class XmlReader {
public:
    enum class Token { kStart, kEnd, kText, kEof, kError };

    explicit XmlReader(std::string_view text) : m_text(text) {}

    Token Next() {
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
                    return Token::kError;
                }
                m_value.assign(m_text.substr(m_pos + 9, end - m_pos - 9));
                m_pos = end + 3;
                return Token::kText;
            }
            if (StartsWith("<!")) {  // a doctype, with any internal subset
                const size_t bracket = m_text.find('[', m_pos);
                const size_t close = m_text.find('>', m_pos);
                size_t end = close;
                if (bracket != std::string_view::npos && bracket < close) {
                    end = m_text.find("]>", bracket);
                    end = end == std::string_view::npos ? end : end + 1;
                }
                if (end == std::string_view::npos) {
                    return Token::kError;
                }
                m_pos = end + 1;
                continue;
            }
            return ReadTag();
        }
        return Token::kEof;
    }

    std::string_view Name() const { return m_name; }
    size_t Position() const { return m_pos; }
    const std::string& Value() const { return m_value; }
    std::string Attribute(std::string_view name) const {
        for (const auto& [key, value] : m_attributes) {
            if (key == name) {
                return value;
            }
        }
        return {};
    }

private:
    bool StartsWith(std::string_view prefix) const {
        return m_text.substr(m_pos, prefix.size()) == prefix;
    }
    bool Skip(std::string_view open, std::string_view close) {
        if (!StartsWith(open)) {
            return false;
        }
        const size_t end = m_text.find(close, m_pos + open.size());
        m_pos = end == std::string_view::npos ? m_text.size() : end + close.size();
        return true;
    }

    // Text up to the next tag, line ends normalised to LF before entities are replaced.
    Token ReadText() {
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

    bool ReadEntity(std::string& out) {
        const size_t end = m_text.find(';', m_pos);
        if (end == std::string_view::npos || end - m_pos > 12) {
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
                    return false;
                }
                cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
            }
            if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                return false;
            }
            gbk::codec::AppendUtf8(out, cp);
        } else {
            return false;
        }
        return true;
    }

    Token ReadTag() {
        const bool closing = StartsWith("</");
        m_pos += closing ? 2 : 1;
        m_name = ReadName();
        if (m_name.empty()) {
            return Token::kError;
        }
        while (true) {
            SkipSpace();
            if (m_pos >= m_text.size()) {
                return Token::kError;
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
                return Token::kError;
            }
            const std::string_view key = ReadName();
            SkipSpace();
            if (key.empty() || m_pos >= m_text.size() || m_text[m_pos] != '=') {
                return Token::kError;
            }
            ++m_pos;
            SkipSpace();
            if (m_pos >= m_text.size() || (m_text[m_pos] != '"' && m_text[m_pos] != '\'')) {
                return Token::kError;
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
                return Token::kError;
            }
            ++m_pos;
            m_attributes.emplace_back(key, std::move(value));
        }
    }

    std::string_view ReadName() {
        const size_t start = m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' ||
                c == '=') {
                break;
            }
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }
    void SkipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\r' || m_text[m_pos] == '\n')) {
            ++m_pos;
        }
    }

    std::string_view m_text;
    size_t m_pos = 0;
    std::string_view m_name;
    std::string_view m_lastName;
    bool m_pendingEnd = false;
    std::string m_value;
    std::vector<std::pair<std::string_view, std::string>> m_attributes;
};

bool IsKnown(std::string_view name) {
    static const char* const kKnown[] = {
        "tbx",  "tbxHeader", "fileDesc",     "sourceDesc", "titleStmt", "title", "p",
        "text", "body",      "conceptEntry", "langSec",    "termSec",   "term"};
    for (const char* known : kKnown) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

}  // namespace

void ParseTbx(std::string_view text, std::vector<std::string>& errors, size_t& ignored,
              const EntrySink& sink) {
    XmlReader reader(text);
    std::vector<std::string_view> open;
    // The fields of the current conceptEntry; their buffers are reused from entry to entry.
    struct {
        int number = 0;
        std::string term;
        std::string meaning;
        std::string explanation;
    } current;
    std::string lang;
    std::string* capture = nullptr;  // the field the current text belongs to
    bool haveTerm = false;
    bool haveMeaning = false;
    int number = 0;
    int depthOfIgnored = 0;  // inside an element nobody reads
    while (true) {
        const XmlReader::Token token = reader.Next();
        switch (token) {
            case XmlReader::Token::kError:
                errors.push_back("conceptEntry " + std::to_string(number + 1) +
                                 ": the file is not well-formed XML here");
                return;
            case XmlReader::Token::kEof:
                if (!open.empty()) {
                    errors.push_back("the file ends inside <" + std::string(open.back()) + ">");
                }
                if (number == 0 && errors.empty()) {
                    errors.push_back("the file holds no conceptEntry");
                }
                return;
            case XmlReader::Token::kText:
                if (capture != nullptr && depthOfIgnored == 0) {
                    capture->append(reader.Value());
                }
                break;
            case XmlReader::Token::kStart: {
                const std::string_view name = reader.Name();
                open.push_back(name);
                const bool definition =
                    name == "descrip" && reader.Attribute("type") == "definition";
                if (depthOfIgnored > 0 || (!IsKnown(name) && !definition)) {
                    ++depthOfIgnored;
                    ++ignored;
                    break;
                }
                if (name == "conceptEntry") {
                    current.number = ++number;
                    current.term.clear();
                    current.meaning.clear();
                    current.explanation.clear();
                    haveTerm = haveMeaning = false;
                } else if (name == "langSec") {
                    lang = reader.Attribute("xml:lang");
                } else if (name == "term" && lang.rfind("en", 0) == 0 && !haveTerm) {
                    capture = &current.term;
                    haveTerm = true;
                } else if (name == "term" && lang.rfind("zh", 0) == 0 && !haveMeaning) {
                    capture = &current.meaning;
                    haveMeaning = true;
                } else if (definition && lang.rfind("zh", 0) == 0) {
                    capture = &current.explanation;
                } else if (name == "term" || definition) {
                    ++ignored;  // a second term, or one in another language
                }
                break;
            }
            case XmlReader::Token::kEnd:
                if (open.empty() || open.back() != reader.Name()) {
                    errors.push_back("conceptEntry " + std::to_string(number) + ": </" +
                                     std::string(reader.Name()) +
                                     "> does not close the open element");
                    return;
                }
                open.pop_back();
                if (depthOfIgnored > 0) {
                    --depthOfIgnored;
                    break;
                }
                capture = nullptr;
                if (reader.Name() == "langSec") {
                    lang.clear();
                } else if (reader.Name() == "conceptEntry") {
                    sink(RawEntry{current.number, current.term, current.meaning,
                                  current.explanation, reader.Position()});
                }
                break;
        }
    }
}

// One conceptEntry per line: the file stays readable and a third smaller than an indented one.
void BeginTbx(std::string& out) {
    out.append(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<tbx type=\"TBX-Basic\" style=\"dca\" xml:lang=\"en\" "
        "xmlns=\"urn:iso:std:iso:30042:ed-2\">\n"
        "<tbxHeader><fileDesc><sourceDesc><p>Termix glossary</p></sourceDesc></fileDesc>"
        "</tbxHeader>\n"
        "<text><body>\n");
}

bool AppendTbx(std::string& out, size_t id, std::string_view term, std::string_view meaning,
               std::string_view explanation) {
    out.append("<conceptEntry id=\"c").append(std::to_string(id)).append("\">");
    out.append("<langSec xml:lang=\"en\"><termSec><term>");
    bool ok = AppendEscaped(out, term);
    out.append("</term></termSec></langSec><langSec xml:lang=\"zh-CN\">");
    if (!explanation.empty()) {
        out.append("<descrip type=\"definition\">");
        ok = AppendEscaped(out, explanation) && ok;
        out.append("</descrip>");
    }
    out.append("<termSec><term>");
    ok = AppendEscaped(out, meaning) && ok;
    out.append("</term></termSec></langSec></conceptEntry>\n");
    return ok;
}

void EndTbx(std::string& out) {
    out.append("</body></text>\n</tbx>\n");
}

}  // namespace glossary_exchange::detail
