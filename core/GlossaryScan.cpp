#include "core/GlossaryScan.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <numeric>
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
    bool keepTerms = false;  // whether every record's term is kept, for the cache
    std::vector<GlossaryScanCache::Term> terms;
};

GlossaryScan::Entry EntryOf(std::string_view value) {
    const auto fields = CTermRecord::SplitStored(value);
    return GlossaryScan::Entry{fields[0], fields[1], fields[2]};
}

// Sorts by term and keeps the last of each term's items, as a later record of a term replaces
// an earlier one in the loaded glossary.
template <typename Item>
void KeepLastOfEachTerm(std::vector<Item>& items) {
    const auto byTerm = [](const Item& a, const Item& b) { return a.term < b.term; };
    if (!std::is_sorted(items.begin(), items.end(), byTerm)) {
        std::stable_sort(items.begin(), items.end(), byTerm);
    }
    auto kept = items.begin();
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (std::next(it) == items.end() || std::next(it)->term != it->term) {
            *kept++ = *it;
        }
    }
    items.erase(kept, items.end());
}

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
        const size_t start = m_reader.Cursor();
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
            m_part.entries.push_back(EntryOf(value));
        }
        if (m_part.keepTerms) {
            m_part.terms.push_back({key, start});
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

    std::string_view m_bytes;
    Part& m_part;
    Reader m_reader;
    size_t m_windowEnd;
    size_t m_limit;
};

// Reads the parts one at a time, taking the next one not yet taken, so that two threads doing
// this stay busy until the end.
void ScanTaken(const FileView& file, std::vector<Part>& parts, std::atomic<size_t>& next,
               const GlossaryScan::Condition& condition) {
    for (size_t i; (i = next.fetch_add(1)) < parts.size();) {
        file.Prefetch(parts[i].begin, parts[i].end);
        PartReader reader(file.Bytes(), parts[i], parts[i].begin, parts[i].end);
        while (reader.ReadOne(condition)) {
        }
        file.Release(parts[i].begin, parts[i].end);
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
std::vector<Part> Parts(std::string_view bytes, size_t count, bool keepTerms) {
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
    for (Part& part : parts) {
        part.keepTerms = keepTerms;
    }
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
            whole.terms.insert(whole.terms.end(), next.terms.begin(), next.terms.end());
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
    m_answeredFromCache = false;
    if (!Qm_conf_solitude_File::ViewWholeFile(path, m_file, FileView::Pages::kByReader)) {
        return true;
    }
    const std::string_view bytes = m_file.Bytes();
    const std::optional<FileStamp> stamp = m_file.Stamp();
    std::optional<GlossaryScanCache> cache;
    if (!m_cacheFolder.empty() && stamp) {
        cache.emplace(m_cacheFolder, path);
        if (cache->Load(*stamp) && AnswerFromCache(*cache, condition)) {
            m_answeredFromCache = true;
            return true;
        }
    }
    const auto changed = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::nanoseconds(stamp ? stamp->changedNs : 0)));
    const bool keepTerms =
        cache && changed + m_settled <= std::chrono::system_clock::now() && cache->CanSave();
    // A large file is read in parts, by two threads when there are two processors. The answer
    // is that of one reading from the start (Joined).
    std::vector<Part> parts = Parts(bytes, bytes.size() >= m_splitFrom ? kParts : 1, keepTerms);
    std::atomic<size_t> next{0};
    std::exception_ptr otherFailure;
    std::thread other;
    if (parts.size() > 1 && std::thread::hardware_concurrency() > 1) {
        other = std::thread([&] {
            try {
                ScanTaken(m_file, parts, next, condition);
            } catch (...) {
                otherFailure = std::current_exception();
            }
        });
    }
    try {
        ScanTaken(m_file, parts, next, condition);
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
    } else if (keepTerms && StampOf(path) == stamp) {
        // Read whole and unchanged while it was read: what the cache holds is what it says.
        KeepLastOfEachTerm(whole.terms);
        cache->Save(*stamp, whole.terms);
    }
    m_entries = std::move(whole.entries);
    KeepLastOfEachTerm(m_entries);
    return true;
}

bool GlossaryScan::AnswerFromCache(const GlossaryScanCache& cache, const Condition& condition) {
    std::vector<size_t> hits;  // the cache's terms that meet the condition
    if (const std::optional<std::string_view> term = condition.ExactTerm()) {
        if (const size_t i = cache.Find(*term); i < cache.Count()) {
            hits.push_back(i);
        }
    } else if (condition.Keyword()->FoundIn({})) {  // the empty keyword: every term
        hits.resize(cache.Count());
        std::iota(hits.begin(), hits.end(), size_t{0});
    } else {
        // One sweep over all terms for the places the keyword may start; only the terms holding
        // one are tested.
        const gbk::FoldedKeyword& keyword = *condition.Keyword();
        const std::string_view terms = cache.Terms();
        size_t i = 0;
        for (size_t at = keyword.NextCandidate(terms, 0); at < terms.size();
             at = keyword.NextCandidate(terms, cache.TermEnd(i))) {
            while (cache.TermEnd(i) <= at) {
                ++i;
            }
            if (keyword.FoundIn(cache.TermAt(i))) {
                hits.push_back(i);
            }
        }
    }
    // Fewer records than the file has pages are read piece by piece, keeping only their values;
    // more are read where the file is mapped.
    const bool inPieces = hits.size() < m_file.Bytes().size() / 4096;
    std::string piece;
    m_recordText.clear();
    // Where each value stands in the text the entries will point into (m_recordText or the
    // mapped file): views are made once that text has stopped growing.
    std::vector<std::pair<size_t, size_t>> values;
    values.reserve(hits.size());
    for (const size_t i : hits) {
        std::string_view readable = m_file.Bytes();
        size_t at = cache.RecordAt(i);
        if (inPieces) {
            // Most records fit the first piece; one that does not is read again whole.
            for (const size_t size : {kRecordPiece, kLongestRecord}) {
                piece.clear();
                if (!m_file.ReadAt(at, size, piece)) {
                    return false;
                }
                Reader reader(piece, 0, CGlossary::kFieldMarker, CGlossary::kRecordTerminator);
                std::string_view key;
                std::string_view value;
                if (reader.Next(key, value) || piece.size() < size) {
                    break;
                }
            }
            readable = piece;
            at = 0;
        }
        Reader reader(readable, at, CGlossary::kFieldMarker, CGlossary::kRecordTerminator);
        std::string_view key;
        std::string_view value;
        if (!reader.Next(key, value) || key != cache.TermAt(i) ||
            !StoredUnderTerm(key, value, readable)) {
            return false;
        }
        if (inPieces) {
            values.emplace_back(m_recordText.size(), value.size());
            m_recordText.append(value);
        } else {
            values.emplace_back(static_cast<size_t>(value.data() - readable.data()), value.size());
        }
    }
    const std::string_view text = inPieces ? std::string_view(m_recordText) : m_file.Bytes();
    m_entries.clear();
    m_entries.reserve(values.size());
    for (const auto& [offset, size] : values) {
        m_entries.push_back(EntryOf(text.substr(offset, size)));
    }
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
