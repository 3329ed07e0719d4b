#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/GlossaryExchange.h"

// Finds the English term, Chinese meaning and explanation columns of a table by its header
// names (UTF-8, either case, "_", "-", space and brackets between words):
//  - term: a name of English ("en", "en-US", "en_GB", "English", "English_United_States",
//    "英文", "英语") or of the source side ("source", "term", "术语");
//  - meaning: a name of Chinese ("zh", "zh-CN", "zh-Hans", "Chinese_PRC", "中文", "汉语") or of
//    the target side ("target", "meaning", "translation", "汉意", "译文"). Traditional Chinese
//    ("zh-TW", "zh-Hant", "Chinese_Taiwan") is taken only when no simplified column is there;
//  - explanation: a definition ("_Def", "definition", "explanation", "解释", "定义"), before a
//    note ("note", "comment", "备注"), each either of Chinese or of no language;
// every other column is passed over and named. A header names its columns only when exactly
// one column is the term and one the meaning.
class HeaderColumns {
public:
    explicit HeaderColumns(const std::vector<std::string_view>& names);

    bool Found() const { return m_problem.empty(); }
    // Some cell is a name Termix knows: the line is a header, not a record.
    bool NamesAny() const { return m_namesAny; }
    const glossary_exchange::Columns& Columns() const { return m_columns; }
    // The columns passed over, named as the header names them.
    const std::vector<std::string>& PassedOver() const { return m_passedOver; }
    // Why the columns cannot be told apart, with the names understood.
    const std::string& Problem() const { return m_problem; }

private:
    glossary_exchange::Columns m_columns;
    std::vector<std::string> m_passedOver;
    std::string m_problem;
    bool m_namesAny = false;
};
