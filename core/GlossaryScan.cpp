#include "core/GlossaryScan.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <thread>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "core/RecordReader.h"
#include "core/StoredUnderTerm.h"
#include "core/TermRecord.h"

namespace {

using Reader = Qm_conf_solitude::RecordReader<CGlossary::kFieldMarker.size(),
                                              CGlossary::kRecordTerminator.size()>;

// A large file is read in this many parts, which the threads take in turn.
constexpr size_t kParts = 8;
// How far past its place a part's start is looked for.
constexpr size_t kStartSearch = 64 * 1024;

// One stretch of the file and what the scan found in it.
struct Part {
    size_t begin = 0;
    size_t end = 0;         // where the next part begins
    size_t contentEnd = 0;  // `end`, or the first NUL byte before it
    size_t stop = 0;        // where reading stopped
    size_t records = 0;
    bool keysAreTerms = true;
    std::vector<GlossaryScan::Entry> entries;
};

// Reads one part's records from a cursor on. The bytes are searched for a NUL (where the
// content ends) one window at a time, just ahead of the reading, so that the records are read
// from the cache the search has just filled rather than from memory.
class PartReader {
public:
    PartReader(std::string_view bytes, Part& part, size_t from, size_t limit)
        : m_bytes(bytes),
          m_part(part),
          m_reader(bytes.substr(0, from), from, CGlossary::kFieldMarker,
                   CGlossary::kRecordTerminator),
          m_windowEnd(from),
          m_limit(limit) {
        part.contentEnd = limit;
    }

    // Reads the next record into the part; false, noting where reading stopped, when the part's
    // records end.
    bool ReadOne(const GlossaryScan::Condition& condition) {
        std::string_view key;
        std::string_view value;
        while (!m_reader.Next(key, value)) {
            if (m_windowEnd == m_limit) {
                m_part.stop = m_reader.Cursor();
                return false;
            }
            Widen();
        }
        ++m_part.records;
        m_part.keysAreTerms = m_part.keysAreTerms && StoredUnderTerm(key, value, m_bytes);
        if (m_part.keysAreTerms && condition(key)) {
            Keep(value);
        }
        return true;
    }

private:
    static constexpr size_t kWindow = 32 * 1024;

    void Widen() {
        size_t end = std::min(m_limit, m_windowEnd + kWindow);
        if (const void* nul = std::memchr(m_bytes.data() + m_windowEnd, '\0', end - m_windowEnd)) {
            end = static_cast<size_t>(static_cast<const char*>(nul) - m_bytes.data());
            m_limit = end;
            m_part.contentEnd = end;
        }
        m_windowEnd = end;
        m_reader = Reader(m_bytes.substr(0, end), m_reader.Cursor(), CGlossary::kFieldMarker,
                          CGlossary::kRecordTerminator);
    }

    void Keep(std::string_view value) {
        const auto fields = CTermRecord::SplitStored(value);
        m_part.entries.push_back(GlossaryScan::Entry{fields[0], fields[1], fields[2]});
    }

    std::string_view m_bytes;
    Part& m_part;
    Reader m_reader;
    size_t m_windowEnd;
    size_t m_limit;
};

// Reads the parts one at a time, taking the next one not yet taken, so that two threads doing
// this stay busy until the end.
void ScanTaken(std::string_view bytes, std::vector<Part>& parts, std::atomic<size_t>& next,
               const GlossaryScan::Condition& condition) {
    for (size_t i; (i = next.fetch_add(1)) < parts.size();) {
        PartReader reader(bytes, parts[i], parts[i].begin, parts[i].end);
        while (reader.ReadOne(condition)) {
        }
    }
}

// Where a part near `from` may start: just after a record terminator, where the bytes read as
// the start of a record; `bytes.size()` when there is none near. Only a guess, as a terminator
// may stand inside a value: whether it is a record's start is known once the part before it is
// read.
size_t PartStartNear(std::string_view bytes, size_t from) {
    const std::string_view terminator = CGlossary::kRecordTerminator;
    const std::string_view marker = CGlossary::kFieldMarker;
    for (size_t at = bytes.find(terminator, from);
         at != std::string_view::npos && at - from < kStartSearch;
         at = bytes.find(terminator, at + 1)) {
        const size_t start = at + terminator.size();
        if (Qm_conf_solitude::detail::HasAt<0>(bytes, start + 4, marker) &&
            Qm_conf_solitude::detail::ReadLengthField(bytes, start) >= 0) {
            return start;
        }
    }
    return bytes.size();
}

// The file cut into up to `count` parts of about equal size.
std::vector<Part> Parts(std::string_view bytes, size_t count) {
    std::vector<Part> parts(1);
    for (size_t i = 1; i < count; ++i) {
        const size_t start =
            PartStartNear(bytes, std::max(bytes.size() / count * i, parts.back().begin + 1));
        if (start < bytes.size()) {
            parts.back().end = start;
            parts.emplace_back().begin = start;
        }
    }
    parts.back().end = bytes.size();
    return parts;
}

// The parts read as one: a part counts while the records before it end exactly where it begins
// and no NUL byte stands before it. Where the records run past a part's start (which was then
// inside a value) or stop short of it, they are read on alone from there to the first NUL.
Part Joined(std::string_view bytes, std::vector<Part>& parts,
            const GlossaryScan::Condition& condition) {
    Part whole = std::move(parts[0]);
    for (size_t i = 1; i < parts.size() && whole.contentEnd == whole.end; ++i) {
        Part& next = parts[i];
        if (whole.stop == next.begin) {
            whole.entries.insert(whole.entries.end(), next.entries.begin(), next.entries.end());
            whole.records += next.records;
            whole.keysAreTerms = whole.keysAreTerms && next.keysAreTerms;
            whole.stop = next.stop;
            whole.end = next.end;
            whole.contentEnd = next.contentEnd;
            continue;
        }
        whole.end = bytes.size();
        PartReader alone(bytes, whole, whole.stop, bytes.size());
        while (alone.ReadOne(condition)) {
        }
        break;
    }
    return whole;
}

}  // namespace

bool GlossaryScan::Run(const std::filesystem::path& path, const Condition& condition) {
    m_entries.clear();
    if (!Qm_conf_solitude_File::ViewWholeFile(path, m_file)) {
        return true;
    }
    const std::string_view bytes = m_file.Bytes();
    // A large file is read in parts, by two threads when there are two processors. The answer
    // is that of one reading from the start (Joined).
    std::vector<Part> parts = Parts(bytes, bytes.size() >= m_splitFrom ? kParts : 1);
    std::atomic<size_t> next{0};
    std::exception_ptr otherFailure;
    std::thread other;
    if (parts.size() > 1 && std::thread::hardware_concurrency() > 1) {
        other = std::thread([&] {
            try {
                ScanTaken(bytes, parts, next, condition);
            } catch (...) {
                otherFailure = std::current_exception();
            }
        });
    }
    try {
        ScanTaken(bytes, parts, next, condition);
    } catch (...) {
        if (other.joinable()) {
            other.join();
        }
        throw;
    }
    if (other.joinable()) {
        other.join();
        if (otherFailure) {
            std::rethrow_exception(otherFailure);
        }
    }
    Part whole = Joined(bytes, parts, condition);
    if (!whole.keysAreTerms) {
        return false;
    }
    if (whole.stop < bytes.size()) {
        PreserveDamagedFile(path, whole.stop, whole.records);
    }
    m_entries = std::move(whole.entries);
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
