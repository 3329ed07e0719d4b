#pragma once

#include <string>

// The texts the main window builds from its search results, all GBK.
namespace main_texts {

// "搜索: <term>\r\n结果: <count> 个术语 (存在|不存在完全匹配的)"
std::string KeywordSummary(const std::string& term, long count, bool exactTermFound);
// "搜索首写字母为 <upper> 或 <lower> 的所有术语\r\n结果: <count> 个术语"
std::string InitialSummary(char letter, long count);
// "共有 <count> 个术语"
std::string AllSummary(long count);
// "搜索不以26个英文字母开头的所有术语\r\n结果: <count> 个术语"
std::string NonLetterSummary(long count);
// The copy text: the meaning followed by the term in parentheses.
std::string CopyText(const std::string& meaning, const std::string& term);
// "-- 术语总数: <count> 条 --"
std::string CountLine(long count);

// The entry the detail fields show at start-up.
std::string AboutTerm();
std::string AboutMeaning();
// The multi-line about text (CR LF line breaks, ending in CR LF).
std::string AboutText();

}  // namespace main_texts
