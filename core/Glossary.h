#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

#include "core/ReportList.h"
#include "core/TermRecord.h"

// Guards every glossary's map. Lock order: the history lock is always taken before this one.
extern std::mutex g_csGlossary;

// The glossary: one record per term (case-sensitive, byte-exact key), held in memory and
// persisted in "Termix.CGlossary.termix" next to the executable.
class CGlossary {
public:
    static constexpr const char* kFileSuffix = ".CGlossary.termix";

    // A glossary on the file at `path` (GBK), loaded at once.
    explicit CGlossary(std::string path);
    virtual ~CGlossary() = default;
    CGlossary(const CGlossary&) = delete;
    CGlossary& operator=(const CGlossary&) = delete;

    // The path next to the executable.
    static std::string DefaultPath();
    const std::string& Path() const { return m_path; }

    void Add(const CTermRecord& record);
    void Update(const CTermRecord& record) { Add(record); }
    void Delete(const std::string& term);
    bool Exists(const std::string& term) const;
    bool Get(const std::string& term, CTermRecord& record) const;
    long GetCount() const;
    void RemoveAll();

    // Replaces the records with those of the pair file at `path`; never writes the file.
    void Load(const std::string& path);
    // Writes every record to the file (raises the write exception when it cannot).
    void Save();
    void Save(const std::string& path);

    // The queries: fill `list` with one row (term, 0x08, meaning) per match, sorted by term,
    // and return the number of rows.
    long ListAll(IReportList& list) const;
    long ListByFirstLetter(IReportList& list, char letter) const;
    long ListNonLetter(IReportList& list) const;
    long ListByKeyword(IReportList& list, const std::string& keyword) const;

    // Change the glossary and the one affected row of a list together.
    void AddAndShow(const CTermRecord& record, IReportList& list);
    bool UpdateAndShow(const CTermRecord& record, IReportList& list, int row);
    bool DeleteAndShow(const CTermRecord& record, IReportList& list, int row);

private:
    struct Entry {
        CTermRecord record;
        std::string foldedTerm;  // the term in lower case, for the keyword search
    };

    template <typename Condition>
    long Fill(IReportList& list, Condition matches) const;

    std::string m_path;
    std::unordered_map<std::string, Entry> m_map;
};

// The program's glossary, created and loaded by the first call (which raises the read exception
// and creates nothing when the load fails; the next call tries again).
CGlossary& GetGlossary();
// Destroys the program's glossary without writing it.
void ReleaseGlossary();
