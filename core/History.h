#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_set>

#include "core/DataLocation.h"
#include "core/ReportList.h"

class CGlossary;

// Guards the search history. Taken before g_csGlossary, never after it.
extern std::mutex g_csHistory;

// The search history: every text a keyword search found terms for, exactly as typed. Kept in
// "Termix.CHistroy.termix" next to the executable when the history setting is on.
class CHistroy {
public:
    static constexpr const char* kFileSuffix = datafile::kHistorySuffix;
    // The texts longer than this are kept in memory but never written: the file's length field
    // has four digits.
    static constexpr size_t kMaxSavedLength = 9999;

    explicit CHistroy(std::filesystem::path path) : m_path(std::move(path)) {}
    virtual ~CHistroy() = default;
    CHistroy(const CHistroy&) = delete;
    CHistroy& operator=(const CHistroy&) = delete;

    static std::filesystem::path DefaultPath();
    const std::filesystem::path& Path() const { return m_path; }

    void Add(const std::string& text);
    void RemoveAll();
    size_t Count() const;
    bool Contains(const std::string& text) const;

    // Replaces the entries with those of the file. A file that exists but cannot be read raises
    // the read exception, and that file is then never written by Save in this run.
    void Load() { Load(m_path); }
    void Load(const std::filesystem::path& path);
    // True when the last Load of the store's own file failed: its content is unknown.
    bool LoadFailed() const;
    // Writes every entry to the file; raises the write exception for a file whose load failed.
    void Save() { Save(m_path); }
    void Save(const std::filesystem::path& path);

    // One row per text: the text, 0x08, and the glossary's meaning for exactly that term or
    // "......"; sorted by text. Looks terms up in `glossary` (the program's glossary by default).
    long FillList(IReportList& list) const;
    long FillList(IReportList& list, const CGlossary& glossary) const;

private:
    std::filesystem::path m_path;
    std::unordered_set<std::string> m_texts;
    std::filesystem::path m_unreadPath;  // the file whose last load failed
};

CHistroy& GetSearchHistory();
