#include "core/exchange/LanguageCode.h"

std::string NormalizedLanguageCode(std::string_view code) {
    std::string out;
    out.reserve(code.size());
    for (const char c : code) {
        out.push_back(c == '_' ? '-' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return out;
}

TermLanguage LanguageOfCode(std::string_view code) {
    const std::string normalized = NormalizedLanguageCode(code);
    if (normalized.empty()) {
        return TermLanguage::kNone;
    }
    const std::string_view text(normalized);
    const size_t dash = text.find('-');
    const std::string_view primary = text.substr(0, dash);
    if (primary == "en" || primary == "eng") {
        return TermLanguage::kEnglish;
    }
    if (primary != "zh" && primary != "zho" && primary != "chi") {
        return TermLanguage::kOther;
    }
    // Subtags after the primary one: a script (hant, hans) decides; else a region of
    // traditional characters does.
    std::string_view rest = dash == std::string_view::npos ? std::string_view() : text.substr(dash);
    bool traditionalRegion = false;
    while (!rest.empty()) {
        rest.remove_prefix(1);
        const size_t next = rest.find('-');
        const std::string_view subtag = rest.substr(0, next);
        if (subtag == "hant") {
            return TermLanguage::kTraditionalChinese;
        }
        if (subtag == "hans") {
            return TermLanguage::kSimplifiedChinese;
        }
        traditionalRegion = traditionalRegion || subtag == "tw" || subtag == "hk" || subtag == "mo";
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next);
    }
    return traditionalRegion ? TermLanguage::kTraditionalChinese : TermLanguage::kSimplifiedChinese;
}
