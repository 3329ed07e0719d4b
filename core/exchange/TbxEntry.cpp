#include "core/exchange/TbxEntry.h"

#include <algorithm>

namespace {

const char kMeaningJoin[] = "\xEF\xBC\x9B";  // "；", the full-width semicolon

}  // namespace

void TbxEntry::Start(int number) {
    m_number = number;
    m_count = 0;
}

size_t TbxEntry::Add(Kind kind, TermLanguage language, bool entryLevel, std::string_view code) {
    if (m_count == m_pieces.size()) {
        m_pieces.push_back(Piece{});
    }
    Piece& piece = m_pieces[m_count];
    piece.kind = kind;
    piece.language = language;
    piece.entryLevel = entryLevel;
    piece.code.assign(code);
    piece.text.clear();
    return m_count++;
}

const TbxEntry::Piece* TbxEntry::Explanation(TermLanguage chinese) const {
    const auto neutral = [](const Piece& p) {
        return p.entryLevel && (p.language == TermLanguage::kNone || IsChinese(p.language));
    };
    const auto inChinese = [chinese](const Piece& p) {
        return !p.entryLevel && p.language == chinese;
    };
    const auto first = [this](Kind kind, const auto& where) -> const Piece* {
        for (size_t i = 0; i < m_count; ++i) {
            if (m_pieces[i].kind == kind && where(m_pieces[i])) {
                return &m_pieces[i];
            }
        }
        return nullptr;
    };
    for (const Kind kind : {Kind::kDefinition, Kind::kNote}) {
        if (const Piece* found = first(kind, inChinese)) {
            return found;
        }
        if (const Piece* found = first(kind, neutral)) {
            return found;
        }
    }
    return nullptr;
}

void TbxEntry::Finish(size_t end, const glossary_exchange::EntrySink& sink, size_t& ignored,
                      std::map<std::string, size_t>& otherLanguages,
                      size_t& traditionalPassedOver) {
    bool simplified = false;
    for (size_t i = 0; i < m_count; ++i) {
        const Piece& p = m_pieces[i];
        simplified =
            simplified || (p.kind == Kind::kTerm && p.language == TermLanguage::kSimplifiedChinese);
    }
    const TermLanguage chinese =
        simplified ? TermLanguage::kSimplifiedChinese : TermLanguage::kTraditionalChinese;
    // The meaning: each Chinese term once, in file order.
    m_meaning.clear();
    std::vector<std::string_view>& english = m_english;
    std::vector<std::string_view>& meanings = m_meanings;
    english.clear();
    meanings.clear();
    for (size_t i = 0; i < m_count; ++i) {
        const Piece& p = m_pieces[i];
        if (p.kind != Kind::kTerm) {
            continue;
        }
        if (p.language == TermLanguage::kEnglish) {
            if (std::find(english.begin(), english.end(), p.text) == english.end()) {
                english.push_back(p.text);
            }
        } else if (p.language == chinese) {
            if (std::find(meanings.begin(), meanings.end(), p.text) == meanings.end()) {
                meanings.push_back(p.text);
                m_meaning.append(m_meaning.empty() ? "" : kMeaningJoin).append(p.text);
            }
        } else if (IsChinese(p.language)) {
            ++traditionalPassedOver;
        } else {
            ++otherLanguages[p.code.empty() ? "(no language)" : p.code];
        }
    }
    const Piece* explanation = Explanation(chinese);
    for (size_t i = 0; i < m_count; ++i) {
        if (m_pieces[i].kind != Kind::kTerm && &m_pieces[i] != explanation) {
            ++ignored;
        }
    }
    const std::string_view explanationText =
        explanation != nullptr ? std::string_view(explanation->text) : std::string_view();
    if (english.empty()) {
        english.emplace_back();
    }
    for (const std::string_view term : english) {
        sink(glossary_exchange::RawEntry{m_number, term, m_meaning, explanationText, end});
    }
}
