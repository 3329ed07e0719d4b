#include "core/TermRecord.h"

#include "util/FieldString.h"

std::string CTermRecord::ToText(char separator) const {
    std::string text;
    text.reserve(m_cs_term.size() + m_cs_meaning.size() + m_cs_explanation.size() + 3);
    text.append(m_cs_term).push_back(separator);
    text.append(m_cs_meaning).push_back(separator);
    text.append(m_cs_explanation).push_back(separator);
    return text;
}

void CTermRecord::FromText(const std::string& text, char separator) {
    const CFieldString fields(text);
    m_cs_term = fields.GetField(0, separator).str();
    m_cs_meaning = fields.GetField(1, separator).str();
    m_cs_explanation = fields.GetField(2, separator).str();
}

std::array<std::string_view, 3> CTermRecord::SplitStored(std::string_view text) {
    std::array<std::string_view, 3> fields{};
    size_t start = 0;
    for (std::string_view& field : fields) {
        if (start >= text.size()) {
            break;
        }
        const size_t end = text.find(kSeparator, start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        field = text.substr(start, stop - start);
        start = stop + 1;
    }
    return fields;
}
