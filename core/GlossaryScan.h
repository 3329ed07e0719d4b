#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/GlossaryScanCache.h"
#include "core/fileio/FileView.h"
#include "util/FoldedKeyword.h"

// A one-shot query straight from a glossary file, for a program that asks one question and
// ends: one pass over the records that keeps only the entries it returns, with no index and no
// copy of the text, or, with a cache (UseCache) of the unchanged file, a look at the cached terms
// and a read of the records returned. Its answer is the one a CGlossary loaded from the same file
// gives (the same entries, the same damaged-file copy and note) for the usual file, where every
// record is stored under its own term; any other file is left to CGlossary, whose reading settles
// which record wins there.
class GlossaryScan {
public:
    struct Entry {
        std::string_view term;
        std::string_view meaning;
        std::string_view explanation;
    };
    // Which terms a scan keeps: those containing a keyword as the keyword query finds it, or
    // one term exactly. Called once per record, so it is a plain test, not a callback.
    class Condition {
    public:
        bool operator()(std::string_view term) const {
            return m_keyword ? m_keyword->FoundIn(term) : term == m_term;
        }
        // The keyword, or nothing for an exact lookup; the term of an exact lookup, or nothing.
        const gbk::FoldedKeyword* Keyword() const { return m_keyword ? &*m_keyword : nullptr; }
        std::optional<std::string_view> ExactTerm() const {
            return m_keyword ? std::nullopt : std::optional<std::string_view>(m_term);
        }

    private:
        friend class GlossaryScan;
        std::optional<gbk::FoldedKeyword> m_keyword;
        std::string m_term;
    };

    // A file from `splitFrom` bytes on is read in parts, by two threads when there are two
    // processors; the answer is the same.
    explicit GlossaryScan(size_t splitFrom = kSplitFrom) : m_splitFrom(splitFrom) {}

    // Reads the file at `path` and keeps the entries whose term meets `condition`, one per term
    // (the record a loaded glossary keeps), sorted by term. Returns false, keeping nothing and
    // noting nothing, when the file needs the glossary's own reading. Raises the read exception
    // as loading does; a missing file has no entries.
    bool Run(const std::filesystem::path& path, const Condition& condition);
    const std::vector<Entry>& Entries() const { return m_entries; }

    // Keeps what a scan learns of a clean file in `folder` (GlossaryScanCache), and answers from
    // it while the file is unchanged. A cache is made only of a file last changed at least
    // `settled` before it is read, so that a later change cannot fall within the same tick of
    // the file system's clock and go unseen.
    void UseCache(const std::filesystem::path& folder,
                  std::chrono::nanoseconds settled = kSettled) {
        m_cacheFolder = folder;
        m_settled = settled;
    }
    // Whether the last Run answered from the cache rather than reading the whole file.
    bool AnsweredFromCache() const { return m_answeredFromCache; }

    // The conditions of the keyword query and of the exact lookup.
    static Condition Containing(std::string_view keyword);
    static Condition Exactly(std::string_view term);

private:
    // Coarser than any file system's timestamps (FAT's are 2 s).
    static constexpr std::chrono::seconds kSettled{5};

    // The entries from the cache; false, keeping nothing, when a record it points to is not its
    // term's record, so that the file must be read after all.
    bool AnswerFromCache(const GlossaryScanCache& cache, const Condition& condition);

    // Below this size a second thread costs about as much as it saves.
    static constexpr size_t kSplitFrom = 2 * 1024 * 1024;
    // What is read of a record at first, and the most any record takes: two fields of at most
    // 9,999 bytes with their lengths, marks and terminator.
    static constexpr size_t kRecordPiece = 1024;
    static constexpr size_t kLongestRecord = 2 * (4 + 1 + 9999) + 3 + 2;

    size_t m_splitFrom;
    FileView m_file;           // the file's bytes; the entries point into them or into m_recordText
    std::string m_recordText;  // the records read piece by piece for an answer from the cache
    std::vector<Entry> m_entries;
    std::filesystem::path m_cacheFolder;  // empty: no cache
    std::chrono::nanoseconds m_settled = kSettled;
    bool m_answeredFromCache = false;
};
