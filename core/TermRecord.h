#pragma once

#include <array>
#include <string>
#include <string_view>

// A record's three fields as views into text someone else owns (GBK).
struct TermRecordView {
    std::string_view term;
    std::string_view meaning;
    std::string_view explanation;

    bool operator==(const TermRecordView& other) const = default;
};

// One glossary entry: the English term (the glossary's key), its Chinese meaning and a free
// explanation. All three are GBK.
class CTermRecord {
public:
    static constexpr char kSeparator = 0x07;

    CTermRecord() = default;
    CTermRecord(std::string term, std::string meaning, std::string explanation)
        : m_cs_term(std::move(term)),
          m_cs_meaning(std::move(meaning)),
          m_cs_explanation(std::move(explanation)) {}
    explicit CTermRecord(const TermRecordView& view)
        : m_cs_term(view.term), m_cs_meaning(view.meaning), m_cs_explanation(view.explanation) {}
    virtual ~CTermRecord() = default;
    CTermRecord(const CTermRecord&) = default;
    CTermRecord& operator=(const CTermRecord&) = default;
    CTermRecord(CTermRecord&&) = default;
    CTermRecord& operator=(CTermRecord&&) = default;

    // The three fields, each followed by the separator.
    std::string ToText(char separator) const;
    // Sets the three fields from fields 0, 1 and 2 of `text`; missing fields become empty.
    void FromText(const std::string& text, char separator);
    // The three fields of a stored text, as FromText reads it at kSeparator: views into `text`,
    // missing fields empty.
    static std::array<std::string_view, 3> SplitStored(std::string_view text);

    TermRecordView View() const { return {m_cs_term, m_cs_meaning, m_cs_explanation}; }

    bool operator==(const CTermRecord& other) const {
        return m_cs_term == other.m_cs_term && m_cs_meaning == other.m_cs_meaning &&
               m_cs_explanation == other.m_cs_explanation;
    }

    std::string m_cs_term;
    std::string m_cs_meaning;
    std::string m_cs_explanation;
};
