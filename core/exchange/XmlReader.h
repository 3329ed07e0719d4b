#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A small pull reader for the XML of glossary files (UTF-8): elements with attributes, text
// with the predefined entities and character references, CDATA. The XML declaration,
// processing instructions, comments and a doctype are skipped; an external DTD is never read.
// Entities are never expanded: a doctype that declares one, or a reference to any entity but
// the five predefined ones, stops reading with the reason.
class XmlReader {
public:
    enum class Token { kStart, kEnd, kText, kEof, kError };

    explicit XmlReader(std::string_view text) : m_text(text) {}

    Token Next();

    // The element's name (kStart, kEnd); its attribute (kStart), empty when it has none.
    std::string_view Name() const { return m_name; }
    std::string_view Attribute(std::string_view name) const;
    // The text (kText), entities replaced and line ends normalised to LF. Valid until Next.
    std::string_view Value() const { return m_value; }
    // The byte where reading stands.
    size_t Position() const { return m_pos; }
    // Why reading stopped (kError).
    const std::string& Problem() const { return m_problem; }

private:
    bool StartsWith(std::string_view prefix) const {
        return m_text.substr(m_pos, prefix.size()) == prefix;
    }
    bool Skip(std::string_view open, std::string_view close);
    Token SkipDoctype();
    Token ReadText();
    bool ReadEntity(std::string& out);
    Token ReadTag();
    bool ReadAttributeValue(char quote, std::string_view& value);
    std::string_view ReadName();
    void SkipSpace();
    Token Fail(std::string problem);

    std::string_view m_text;
    size_t m_pos = 0;
    std::string_view m_name;
    std::string_view m_lastName;
    bool m_pendingEnd = false;
    // Text and attribute values are views into the file unless they hold an entity or a CR,
    // whose replaced form is kept here until Next.
    std::string_view m_value;
    std::string m_replaced;
    std::deque<std::string> m_replacedAttributes;  // grows without moving the earlier ones
    size_t m_replacedAttributeCount = 0;
    std::string m_problem;
    std::vector<std::pair<std::string_view, std::string_view>> m_attributes;
};
