#include "core/GlossaryScan.h"

#include <algorithm>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "core/TermRecord.h"

bool GlossaryScan::Run(const std::filesystem::path& path, const Condition& condition) {
    m_entries.clear();
    size_t fileSize = 0;
    std::string_view content;
    if (!Qm_conf_solitude_File::ViewContent(path, m_file, content, fileSize)) {
        return true;
    }
    bool keysAreTerms = true;
    size_t records = 0;
    const size_t stop = Qm_conf_solitude_File::ParseRecords(
        content, CGlossary::kFieldMarker, CGlossary::kRecordTerminator,
        [&](std::string_view key, std::string_view value) {
            ++records;
            const std::string_view term = value.substr(0, value.find(CTermRecord::kSeparator));
            keysAreTerms = keysAreTerms && key == term;
            if (keysAreTerms && condition(term)) {
                const auto fields = CTermRecord::SplitStored(value);
                m_entries.push_back(Entry{fields[0], fields[1], fields[2]});
            }
        });
    if (!keysAreTerms) {
        m_entries.clear();
        return false;
    }
    if (stop < fileSize) {
        PreserveDamagedFile(path, stop, records);
    }
    // A later record of a term replaces an earlier one, as in the loaded glossary.
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.term < b.term; });
    auto kept = m_entries.begin();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (std::next(it) == m_entries.end() || std::next(it)->term != it->term) {
            *kept++ = *it;
        }
    }
    m_entries.erase(kept, m_entries.end());
    return true;
}

GlossaryScan::Condition GlossaryScan::Containing(std::string_view keyword) {
    Condition condition;
    condition.m_keyword.emplace(keyword);
    return condition;
}

GlossaryScan::Condition GlossaryScan::Exactly(std::string_view term) {
    Condition condition;
    condition.m_term = term;
    return condition;
}
