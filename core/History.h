#pragma once

#include <mutex>
#include <string>
#include <unordered_set>

#include "core/ReportList.h"

class CGlossary;

// Guards the search history. Taken before g_csGlossary, never after it.
extern std::mutex g_csHistory;

// The search history: every text a keyword search found terms for, exactly as typed. Kept in
// "Termix.CHistroy.termix" next to the executable when the history setting is on.
class CHistroy {
public:
    static constexpr const char* kFileSuffix = ".CHistroy.termix";
    // The texts longer than this are kept in memory but never written: the file's length field
    // has four digits.
    static constexpr size_t kMaxSavedLength = 9999;

    explicit CHistroy(std::string path) : m_path(std::move(path)) {}
    virtual ~CHistroy() = default;
    CHistroy(const CHistroy&) = delete;
    CHistroy& operator=(const CHistroy&) = delete;

    static std::string DefaultPath();
    const std::string& Path() const { return m_path; }

    void Add(const std::string& text);
    void RemoveAll();
    size_t Count() const;
    bool Contains(const std::string& text) const;

    void Load() { Load(m_path); }
    void Load(const std::string& path);
    void Save() { Save(m_path); }
    void Save(const std::string& path);

    // One row per text: the text, 0x08, and the glossary's meaning for exactly that term or
    // "......"; sorted by text. Looks terms up in `glossary` (the program's glossary by default).
    long FillList(IReportList& list) const;
    long FillList(IReportList& list, const CGlossary& glossary) const;

private:
    std::string m_path;
    std::unordered_set<std::string> m_texts;
};

CHistroy& GetSearchHistory();
