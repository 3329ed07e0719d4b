#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/GlossaryExchange.h"
#include "core/exchange/LanguageCode.h"

// What one TBX entry (v2 termEntry, v3 conceptEntry) holds for Termix while it is read, and
// the records it gives:
//  - every English term becomes its own record (synonyms, abbreviations, variants);
//  - the meaning is the entry's Chinese terms joined by "；" (U+FF1B); simplified Chinese is
//    taken when the entry has any, else traditional Chinese;
//  - the explanation is the first of: a definition in the langSet of that Chinese, a
//    definition at entry level, a note in that langSet, a note at entry level. Entry-level
//    texts count only with no language of their own or a Chinese one.
// The strings are reused from entry to entry.
class TbxEntry {
public:
    enum class Kind { kTerm, kDefinition, kNote };

    void Start(int number);
    // A new text of the entry; the reader appends its characters through Text(index).
    size_t Add(Kind kind, TermLanguage language, bool entryLevel, std::string_view code);
    std::string& Text(size_t index) { return m_pieces[index].text; }

    // Hands one raw entry per English term to `sink` (no term: one entry without one, which
    // the checks refuse). Texts passed over are counted in `ignored`; terms of other languages
    // in `otherLanguages` by code.
    void Finish(size_t end, const glossary_exchange::EntrySink& sink, size_t& ignored,
                std::map<std::string, size_t>& otherLanguages, size_t& traditionalPassedOver);

private:
    struct Piece {
        Kind kind;
        TermLanguage language;
        bool entryLevel;
        std::string code;
        std::string text;
    };
    const Piece* Explanation(TermLanguage chinese) const;

    int m_number = 0;
    std::vector<Piece> m_pieces;
    size_t m_count = 0;
    std::string m_meaning;
    std::vector<std::string_view> m_english;   // the entry's English terms, each once
    std::vector<std::string_view> m_meanings;  // its Chinese terms taken, each once
};
