#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileView.h"

// A one-shot query straight from a glossary file, for a program that asks one question and
// ends: one pass over the records that keeps only the entries it returns, with no index and no
// copy of the text. Its answer is the one a CGlossary loaded from the same file gives (the same
// entries, the same damaged-file copy and note) for the usual file, where every record is stored
// under its own term; any other file is left to CGlossary, whose reading settles which record
// wins there.
class GlossaryScan {
public:
    struct Entry {
        std::string_view term;
        std::string_view meaning;
        std::string_view explanation;
    };
    using Condition = std::function<bool(std::string_view term)>;

    // Reads the file at `path` and keeps the entries whose term meets `condition`, one per term
    // (the record a loaded glossary keeps), sorted by term. Returns false, keeping nothing and
    // noting nothing, when the file needs the glossary's own reading. Raises the read exception
    // as loading does; a missing file has no entries.
    bool Run(const std::filesystem::path& path, const Condition& condition);
    const std::vector<Entry>& Entries() const { return m_entries; }

    // The conditions of the keyword query and of the exact lookup.
    static Condition Containing(std::string_view keyword);
    static Condition Exactly(std::string_view term);

private:
    FileView m_file;  // the file's bytes; the entries point into them
    std::vector<Entry> m_entries;
};
