#pragma once

#include <string>
#include <string_view>

// The languages a glossary file names, as people write their codes: "en", "en-US", "EN",
// "en_GB"; "zh", "zh-CN", "zh-Hans", "ZH-CN", "zh_CN". Chinese in traditional characters
// ("zh-TW", "zh-HK", "zh-MO", "zh-Hant…") is told apart: a file that has simplified Chinese
// too gives the meaning from that.
enum class TermLanguage { kNone, kEnglish, kSimplifiedChinese, kTraditionalChinese, kOther };

// The code in lower case with "_" as "-": "zh_CN" and "ZH-CN" both give "zh-cn".
std::string NormalizedLanguageCode(std::string_view code);

// The language of a code; kNone for an empty code.
TermLanguage LanguageOfCode(std::string_view code);

// Either kind of Chinese.
inline bool IsChinese(TermLanguage language) {
    return language == TermLanguage::kSimplifiedChinese ||
           language == TermLanguage::kTraditionalChinese;
}
