#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/fileio/FileStamp.h"
#include "core/fileio/FileView.h"

// What a one-shot scan keeps of a clean glossary file between runs: each term once, sorted, with
// where its record starts. A later scan of the unchanged file then reads only the records it
// returns. One cache file per glossary, in the user's cache folder. A cache is used only while
// the glossary's stamp is the one it was made from and its own size and checksum hold, and the
// reader still checks each record it is sent to; a missing, stale or damaged cache costs only
// the time of a full scan.
class GlossaryScanCache {
public:
    struct Term {
        std::string_view term;
        size_t record = 0;  // where the term's record starts in the glossary file
    };

    // The cache of the glossary at `glossary`, kept in `folder`.
    GlossaryScanCache(const std::filesystem::path& folder, const std::filesystem::path& glossary);

    // Reads the cache; true when it is whole and was made from the glossary as `stamp` describes
    // it.
    bool Load(const FileStamp& stamp);
    size_t Count() const { return m_count; }
    std::string_view TermAt(size_t i) const;
    size_t RecordAt(size_t i) const { return Number(m_records, i); }
    // All terms end to end, in order, and where the i-th ends among them.
    std::string_view Terms() const { return m_terms; }
    size_t TermEnd(size_t i) const { return Number(m_termEnds, i); }
    // Where `term` stands, or Count() when the cache does not hold it.
    size_t Find(std::string_view term) const;

    // Whether a cache may be saved: its folder exists, or was made now, and may be written.
    bool CanSave() const;
    // Replaces the cache with `terms`, sorted and each once, of the glossary with `stamp`,
    // without a flush to the disk (a cut cache fails its checksum). False when it could not be
    // written.
    bool Save(const FileStamp& stamp, const std::vector<Term>& terms) const;

    const std::filesystem::path& Path() const { return m_path; }

private:
    // Removes what saves of this cache that were cut short left behind.
    void RemoveStaleTemporaries() const;
    // The i-th of the 32-bit numbers of an array in the cache file.
    static uint32_t Number(std::string_view array, size_t i);

    std::filesystem::path m_folder;
    std::filesystem::path m_path;
    FileView m_file;
    size_t m_count = 0;
    std::string_view m_records;   // each term's record start
    std::string_view m_termEnds;  // where each term ends in m_terms (it starts where the last ends)
    std::string_view m_terms;
};
