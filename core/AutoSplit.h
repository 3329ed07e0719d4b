#pragma once

#include <string>

// The three fields cut out of a copied glossary entry (GBK).
struct SplitEntry {
    std::string term;
    std::string meaning;
    std::string explanation;
};

// Cuts a copied entry into term, meaning and explanation. Two shapes are recognised:
//   Term(meaning) LF blank line LF explanation...   and   Term LF blank line LF meaning...
// Only ASCII parentheses count. Each field is trimmed of tab, LF, VT, FF, CR and space.
SplitEntry SplitCopiedEntry(const std::string& text);
