#include "core/Glossary.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <chrono>
#include <functional>
#include <memory>

#include "core/DamagedFile.h"
#include "core/DataLocation.h"
#include "core/FileStatusText.h"
#include "core/FileView.h"
#include "core/GlossaryPreload.h"
#include "core/PairFile.h"
#include "core/SaveTurn.h"
#include "util/ExeDir.h"
#include "util/FoldedKeyword.h"
#include "util/GbkText.h"

std::mutex g_csGlossary;

namespace {
const std::string kMarker(CGlossary::kFieldMarker);
const std::string kTerminator(CGlossary::kRecordTerminator);

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string RowText(const CTermRecord& record) {
    std::string row;
    row.reserve(record.m_cs_term.size() + record.m_cs_meaning.size() + 1);
    row.append(record.m_cs_term).push_back(IReportList::kRowSeparator);
    row.append(record.m_cs_meaning);
    return row;
}
}  // namespace

CGlossary::CGlossary(std::filesystem::path path) : m_path(std::move(path)) {
    Load(m_path);
}

std::filesystem::path CGlossary::DefaultPath() {
    return GetDataLocation().GlossaryFile();
}

CTermRecord CGlossary::ToRecord(const Slot& slot) {
    return CTermRecord(std::string(slot.Term()), std::string(slot.Meaning()),
                       std::string(slot.Explanation()));
}

namespace {

// Stores `slot` under `key` (whose TermIndex::HashOf is `hash`), replacing the slot already there.
template <typename Slot, typename KeyOf>
void InsertOrReplace(std::vector<Slot>& slots, TermIndex& index, std::string_view key,
                     uint32_t hash, const Slot& slot, KeyOf keyOf) {
    const auto [at, inserted] = index.Insert(key, hash, static_cast<uint32_t>(slots.size()), keyOf);
    if (inserted) {
        slots.push_back(slot);
    } else {
        slots[at] = slot;
    }
}

template <typename Slot, typename KeyOf>
void InsertOrReplace(std::vector<Slot>& slots, TermIndex& index, std::string_view key,
                     const Slot& slot, KeyOf keyOf) {
    InsertOrReplace(slots, index, key, TermIndex::HashOf(key), slot, keyOf);
}

}  // namespace

void CGlossary::EnsureIndexed() const {
    if (!m_indexPending) {
        return;
    }
    m_indexPending = false;
    IndexUniqueSlots(m_slots, m_index);
}

void CGlossary::IndexUniqueSlots(const std::vector<Slot>& slots, TermIndex& index) {
    index.Reserve(index.Size() + slots.size());
    for (uint32_t i = 0; i < slots.size(); ++i) {
        index.Insert(slots[i].Term(), i, [&slots](uint32_t at) { return slots[at].Term(); });
    }
}

uint32_t CGlossary::FindSlot(std::string_view term) const {
    EnsureIndexed();
    return m_index.Find(term, [this](uint32_t i) { return m_slots[i].Term(); });
}

void CGlossary::Put(const Slot& slot) {
    EnsureIndexed();
    InsertOrReplace(m_slots, m_index, slot.Term(), slot,
                    [this](uint32_t i) { return m_slots[i].Term(); });
}

CGlossary::Slot CGlossary::SlotOfStored(std::string_view value) {
    const std::array<std::string_view, 3> fields = CTermRecord::SplitStored(value);
    Slot slot;
    slot.text = value.data();
    slot.termLength = static_cast<uint32_t>(fields[0].size());
    slot.meaningLength = static_cast<uint32_t>(fields[1].size());
    slot.explanationLength = static_cast<uint32_t>(fields[2].size());
    return slot;
}

void CGlossary::Clear() {
    m_slots.clear();
    m_index.Clear();
    m_indexPending = false;
    m_text.clear();
}

void CGlossary::Add(const CTermRecord& record) {
    // One block holds the record as it is stored: term, 0x07, meaning, 0x07, explanation.
    auto block = std::make_unique<std::string>(record.ToText(CTermRecord::kSeparator));
    Slot slot;
    slot.text = block->data();
    slot.termLength = static_cast<uint32_t>(record.m_cs_term.size());
    slot.meaningLength = static_cast<uint32_t>(record.m_cs_meaning.size());
    slot.explanationLength = static_cast<uint32_t>(record.m_cs_explanation.size());
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_text.push_back(std::move(block));
    Put(slot);
    m_ownChanges.insert(record.m_cs_term);
}

void CGlossary::AddAll(const std::vector<TermRecordView>& records,
                       std::unique_ptr<std::string> text) {
    // The records' text is kept as it is.
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_slots.reserve(m_slots.size() + records.size());
    EnsureIndexed();
    m_index.Reserve(m_index.Size() + records.size());
    for (const TermRecordView& record : records) {
        Slot slot;
        slot.text = record.term.data();
        slot.termLength = static_cast<uint32_t>(record.term.size());
        slot.meaningLength = static_cast<uint32_t>(record.meaning.size());
        slot.explanationLength = static_cast<uint32_t>(record.explanation.size());
        assert(slot.Meaning() == record.meaning && slot.Explanation() == record.explanation);
        Put(slot);
    }
    m_text.push_back(std::move(text));
}

void CGlossary::Delete(const std::string& term) {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    const uint32_t hole = FindSlot(term);
    if (hole == TermIndex::kNone) {
        return;
    }
    m_ownChanges.insert(term);
    auto keyOf = [this](uint32_t i) { return m_slots[i].Term(); };
    m_index.Erase(term, keyOf);
    // The last slot moves into the hole so the slots stay dense.
    const auto last = static_cast<uint32_t>(m_slots.size() - 1);
    if (hole != last) {
        m_slots[hole] = m_slots[last];
        m_index.Reassign(m_slots[hole].Term(), hole, keyOf);
    }
    m_slots.pop_back();
}

bool CGlossary::Exists(const std::string& term) const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    return FindSlot(term) != TermIndex::kNone;
}

bool CGlossary::Get(const std::string& term, CTermRecord& record) const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    const uint32_t at = FindSlot(term);
    if (at == TermIndex::kNone) {
        return false;
    }
    record = ToRecord(m_slots[at]);
    return true;
}

long CGlossary::GetCount() const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    return static_cast<long>(m_slots.size());
}

void CGlossary::RemoveAll() {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    Clear();
}

// The usual file: every record's key is its own term. While the terms come in strictly
// increasing order (as every saved file has them) no term can repeat, and nothing is indexed:
// `indexed` stays false and the index is built at the first lookup. From the first term out of
// order on, records are indexed as they are parsed. Nothing (and nothing kept) as soon as a key
// differs from its term.
std::optional<size_t> CGlossary::LoadFast(std::string_view content, std::vector<Slot>& slots,
                                          TermIndex& index, size_t& records, bool& indexed) {
    bool keysAreTerms = true;
    indexed = false;
    auto termOf = [&slots](uint32_t i) { return slots[i].Term(); };
    // Each record is indexed a few records late: its bucket comes from memory while the next
    // records are parsed. A later record with the same key replaces the earlier one, as in the
    // pair file; records are indexed in file order, so that still holds.
    constexpr size_t kLead = 8;
    std::array<std::pair<Slot, uint32_t>, kLead> pending{};
    size_t queued = 0;  // records indexed or pending
    const auto indexOne = [&](const std::pair<Slot, uint32_t>& entry) {
        InsertOrReplace(slots, index, entry.first.Term(), entry.second, entry.first, termOf);
    };
    const size_t stop = Qm_conf_solitude_File::ParseRecords(
        content, kMarker, kTerminator, [&](std::string_view key, std::string_view value) {
            ++records;
            if (!keysAreTerms) {
                return;
            }
            Slot slot = SlotOfStored(value);
            if (key != slot.Term()) {
                keysAreTerms = false;
                return;
            }
            if (!indexed) {
                if (slots.empty() || slots.back().Term() < key) {
                    slots.push_back(slot);
                    return;
                }
                indexed = true;                   // out of order: a term may repeat from here on
                index.Reserve(slots.capacity());  // the records the file is expected to hold
                IndexUniqueSlots(slots, index);
            }
            const uint32_t hash = TermIndex::HashOf(key);
            index.Prefetch(hash);
            std::pair<Slot, uint32_t>& place = pending[queued % kLead];
            if (queued >= kLead) {
                indexOne(place);
            }
            place = {slot, hash};
            ++queued;
        });
    if (!keysAreTerms) {
        return std::nullopt;
    }
    for (size_t i = queued > kLead ? queued - kLead : 0; i < queued; ++i) {
        indexOne(pending[i % kLead]);
    }
    return stop;
}

// Any file: the pair file's own reading (records keyed by the file's key), then each record
// under its own term.
size_t CGlossary::LoadExact(std::string_view content, std::vector<Slot>& slots, TermIndex& index,
                            size_t& records) {
    std::vector<std::string_view> fileKeys;
    std::vector<Slot> byKey;
    TermIndex keyIndex;
    auto keyOf = [&fileKeys](uint32_t i) { return fileKeys[i]; };
    const size_t stop = Qm_conf_solitude_File::ParseRecords(
        content, kMarker, kTerminator, [&](std::string_view key, std::string_view value) {
            ++records;
            const size_t before = byKey.size();
            InsertOrReplace(byKey, keyIndex, key, SlotOfStored(value), keyOf);
            if (byKey.size() != before) {
                fileKeys.push_back(key);
            }
        });
    auto termOf = [&slots](uint32_t i) { return slots[i].Term(); };
    for (const Slot& slot : byKey) {
        InsertOrReplace(slots, index, slot.Term(), slot, termOf);
    }
    return stop;
}

// The records are views into the loaded text. When parsing stopped well before the end (a
// damaged or padded file), only the parsed part is kept, so memory follows what was read.
void CGlossary::KeepOnlyParsedText(std::unique_ptr<std::string>& content, size_t parsed,
                                   std::vector<Slot>& slots) {
    if (content->capacity() - parsed < 64 * 1024) {
        return;
    }
    auto kept = std::make_unique<std::string>(*content, 0, parsed);
    const char* oldBase = content->data();
    for (Slot& slot : slots) {
        slot.text = kept->data() + (slot.text - oldBase);
    }
    content = std::move(kept);
}

namespace {

// Files from this size on are read from their mapping at first (LoadMapped).
constexpr size_t kMapFrom = 4 * 1024 * 1024;
// How long a loaded file's text is read from its mapping: past the start of the program.
constexpr std::chrono::milliseconds kCopyDelay{250};

// The records `content` is expected to hold, from the average length of the first ones; the
// tables are sized for them and grow if needed.
size_t ExpectedRecords(std::string_view content) {
    size_t sampled = 0;
    const size_t sampledBytes = Qm_conf_solitude_File::ParseRecords(
        content.substr(0, 64 * 1024), kMarker, kTerminator,
        [&sampled](std::string_view, std::string_view) { ++sampled; });
    return sampled == 0 ? 16 : content.size() / std::max<size_t>(sampledBytes / sampled, 1) + 16;
}

}  // namespace

CGlossary::~CGlossary() {
    m_fileCopy.reset();
}

bool CGlossary::LoadsFromMapping(const std::filesystem::path& path) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    return FileView::MapsFiles() && !ec && size >= kMapFrom;
}

// Only a large file, where the mapping pays, and only one that reads whole: a file with a NUL
// byte, a damaged record or a record under another key takes the read path, which settles it.
bool CGlossary::LoadMapped(const std::filesystem::path& path) {
    if (!LoadsFromMapping(path)) {
        return false;
    }
    auto file = std::make_unique<FileView>();
    if (!Qm_conf_solitude_File::ViewWholeFile(path, *file) || !file->Mapped()) {
        return false;
    }
    const std::string_view content = file->Bytes();
    if (content.find('\0') != std::string_view::npos) {
        return false;
    }
    std::vector<Slot> slots;
    slots.reserve(ExpectedRecords(content));
    TermIndex index;
    size_t records = 0;
    bool indexed = false;
    const std::optional<size_t> stop = LoadFast(content, slots, index, records, indexed);
    if (!stop || *stop < content.size()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(g_csGlossary);
        m_slots = std::move(slots);
        m_index = std::move(index);
        m_indexPending = !indexed;
    }
    m_fileCopy = std::make_unique<DeferredFileCopy>(
        std::move(file), content, kCopyDelay,
        [this](std::string_view mapped, std::unique_ptr<std::string> copy) {
            AdoptCopy(mapped, std::move(copy));
        });
    return true;
}

void CGlossary::AdoptCopy(std::string_view mapped, std::unique_ptr<std::string> copy) {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_text.reserve(m_text.size() + 1);  // may raise; nothing has moved yet
    bool kept = false;
    const std::less<const char*> before;
    for (Slot& slot : m_slots) {
        if (!before(slot.text, mapped.data()) && before(slot.text, mapped.data() + mapped.size())) {
            slot.text = copy->data() + (slot.text - mapped.data());
            kept = true;
        }
    }
    if (kept) {
        m_text.push_back(std::move(copy));
    }
}

void CGlossary::OwnText() const {
    if (m_fileCopy) {
        m_fileCopy->CopyNow();
    }
}

void CGlossary::Load(const std::filesystem::path& path) {
    RemoveAll();
    m_fileCopy.reset();  // nothing views the old mapping any more
    if (path == m_path) {
        // Taken before the read: a change made while reading shows as a newer file.
        m_stamp = FileView::StampOf(path);
        m_ownChanges.clear();
    }
    if (LoadMapped(path)) {
        return;
    }
    // The file is read once and its bytes become the records' storage: no copy per record.
    auto content = std::make_unique<std::string>();
    size_t fileSize = 0;
    if (!Qm_conf_solitude_File::ReadContent(path, *content, fileSize)) {
        return;
    }
    const size_t expected = ExpectedRecords(*content);
    std::vector<Slot> slots;
    slots.reserve(expected);
    TermIndex index;
    size_t records = 0;
    bool indexed = false;
    std::optional<size_t> stop = LoadFast(*content, slots, index, records, indexed);
    if (!stop) {
        slots.clear();
        index.Clear();
        records = 0;
        index.Reserve(expected);
        stop = LoadExact(*content, slots, index, records);
        indexed = true;
    }
    if (*stop < fileSize) {
        PreserveDamagedFile(path, *stop, records);
        // The tables were sized for a whole file of records; keep them to what was read.
        KeepOnlyParsedText(content, *stop, slots);
        slots.shrink_to_fit();
        // Sized for a whole file too: the first lookup builds it again for what was read.
        index = TermIndex();
        indexed = false;
    }
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_text.push_back(std::move(content));
    m_slots = std::move(slots);
    m_index = std::move(index);
    m_indexPending = !indexed;
}

bool CGlossary::HasOwnChanges() const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    return !m_ownChanges.empty();
}

CGlossary::SaveResult CGlossary::Save() {
    fileio::SaveTurn own;
    fileio::SaveTurn* turn = fileio::SaveTurn::HeldFor(m_path);
    if (turn == nullptr) {
        if (const fileio::Status taken = own.Take(m_path); !taken.ok()) {
            throw Qm_conf_solitude_File::WriteError(
                m_path, ReasonText(taken.outcome == fileio::Outcome::kMissing
                                       ? fileio::Status{fileio::Outcome::kNoFolder, 0}
                                       : taken));
        }
        turn = &own;
    }
    SaveResult result = SaveResult::kWritten;
    const std::optional<FileStamp> now = FileView::StampOf(m_path);
    // A file gone since is simply written again.
    if (now && now != m_stamp) {
        if (!HasOwnChanges()) {
            Load(m_path);
            return SaveResult::kReloaded;
        }
        TakeInOutsideChange();
        result = SaveResult::kMerged;
    }
    Save(m_path);
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_stamp = turn->Written();
    m_ownChanges.clear();
    return result;
}

void CGlossary::TakeInOutsideChange() {
    CGlossary outside(m_path);
    outside.OwnText();
    std::vector<std::string> changed;
    {
        std::lock_guard<std::mutex> lock(g_csGlossary);
        changed.assign(m_ownChanges.begin(), m_ownChanges.end());
    }
    for (const std::string& term : changed) {
        CTermRecord record;
        if (Get(term, record)) {
            outside.Add(record);
        } else {
            outside.Delete(term);
        }
    }
    m_fileCopy.reset();
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_slots = std::move(outside.m_slots);
    m_index = std::move(outside.m_index);
    m_indexPending = outside.m_indexPending;
    // The old text blocks stay as long as the glossary: a view handed out before stays valid.
    for (std::unique_ptr<std::string>& text : outside.m_text) {
        m_text.push_back(std::move(text));
    }
    m_stamp = outside.m_stamp;
}

void CGlossary::Save(const std::filesystem::path& path) {
    // The file is made from the records sorted by term (each key is its record's term, each value
    // the record's text form) and written a megabyte at a time, so that a large glossary is never
    // held twice in memory. The lock stays held while writing: the views may point into the
    // mapped file, which the copying thread would otherwise replace and unmap meanwhile.
    Qm_conf_solitude_File::ReplaceContent(
        path, kMarker, kTerminator, [this](const fileio::ChunkWriter& write) {
            constexpr size_t kPiece = size_t{1} << 20;
            std::string piece;
            std::string value;
            piece.reserve(kPiece + 2 * Qm_conf_solitude_File::kMaxFieldLength + 64);
            std::lock_guard<std::mutex> lock(g_csGlossary);
            for (const TermRecordView& view : SortedViewsLocked()) {
                value.assign(view.term).push_back(CTermRecord::kSeparator);
                value.append(view.meaning).push_back(CTermRecord::kSeparator);
                value.append(view.explanation).push_back(CTermRecord::kSeparator);
                if (!Qm_conf_solitude_File::AppendRecord(piece, view.term, value, kMarker,
                                                         kTerminator)) {
                    return false;
                }
                if (piece.size() >= kPiece) {
                    if (!write(piece)) {
                        return false;
                    }
                    piece.clear();
                }
            }
            return write(piece);
        });
}

template <typename Condition>
long CGlossary::Fill(IReportList& list, Condition matches) const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    list.DeleteAllRows();
    long count = 0;
    std::string row;
    for (const Slot& slot : m_slots) {
        if (matches(slot)) {
            row.assign(slot.Term()).push_back(IReportList::kRowSeparator);
            row.append(slot.Meaning());
            list.InsertRow(row, IReportList::kRowSeparator);
            ++count;
        }
    }
    list.SetFixedColumnWidths();
    list.SortRows(0, true, 0, -1);
    return count;
}

long CGlossary::ListAll(IReportList& list) const {
    return Fill(list, [](const Slot&) { return true; });
}

long CGlossary::ListByFirstLetter(IReportList& list, char letter) const {
    const std::string wanted = gbk::ToUpper(std::string(1, letter));
    return Fill(list, [&wanted](const Slot& slot) {
        // Upper-casing one byte of a double-byte character never changes it, so a term that
        // begins with one cannot match a letter.
        return slot.termLength > 0 && gbk::ToUpper(slot.Term().substr(0, 1)) == wanted;
    });
}

long CGlossary::ListNonLetter(IReportList& list) const {
    return Fill(list, [](const Slot& slot) {
        return slot.termLength == 0 || !IsAsciiLetter(static_cast<unsigned char>(slot.text[0]));
    });
}

long CGlossary::ListByKeyword(IReportList& list, const std::string& keyword) const {
    const gbk::FoldedKeyword wanted(keyword);
    return Fill(list, [&wanted](const Slot& slot) { return wanted.FoundIn(slot.Term()); });
}

long CGlossary::ListByKeywordIn(IReportList& list, const std::string& keyword,
                                SearchField field) const {
    if (field == SearchField::kTerm) {
        return ListByKeyword(list, keyword);
    }
    const gbk::FoldedKeyword wanted(keyword);
    return Fill(list, [&](const Slot& slot) {
        switch (field) {
            case SearchField::kMeaning:
                return wanted.FoundIn(slot.Meaning());
            case SearchField::kExplanation:
                return wanted.FoundIn(slot.Explanation());
            default:
                return wanted.FoundIn(slot.Term()) || wanted.FoundIn(slot.Meaning()) ||
                       wanted.FoundIn(slot.Explanation());
        }
    });
}

std::vector<TermRecordView> CGlossary::SortedViews() const {
    OwnText();  // the views outlive the lock: they must not view the mapping, which goes
    std::lock_guard<std::mutex> lock(g_csGlossary);
    return SortedViewsLocked();
}

std::vector<TermRecordView> CGlossary::SortedViewsLocked() const {
    std::vector<TermRecordView> views;
    views.reserve(m_slots.size());
    for (const Slot& slot : m_slots) {
        views.push_back({slot.Term(), slot.Meaning(), slot.Explanation()});
    }
    const auto byTerm = [](const TermRecordView& a, const TermRecordView& b) {
        return a.term < b.term;
    };
    // A glossary loaded from a saved file, or filled from an export, is usually in order already.
    if (!std::is_sorted(views.begin(), views.end(), byTerm)) {
        std::sort(views.begin(), views.end(), byTerm);
    }
    return views;
}

CGlossary::Presence CGlossary::Match(const TermRecordView& record) const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    const uint32_t at = FindSlot(record.term);
    if (at == TermIndex::kNone) {
        return Presence::kAbsent;
    }
    const Slot& slot = m_slots[at];
    return slot.Meaning() == record.meaning && slot.Explanation() == record.explanation
               ? Presence::kSame
               : Presence::kDifferent;
}

void CGlossary::AddAndShow(const CTermRecord& record, IReportList& list) {
    Add(record);
    list.InsertRow(RowText(record), IReportList::kRowSeparator);
    if (list.GetRowCount() > 0) {
        list.EnsureVisible(list.GetRowCount() - 1, false);
    }
}

bool CGlossary::UpdateAndShow(const CTermRecord& record, IReportList& list, int row) {
    Update(record);
    return list.SetCellText(row, 1, record.m_cs_meaning);
}

bool CGlossary::DeleteAndShow(const CTermRecord& record, IReportList& list, int row) {
    Delete(record.m_cs_term);
    return list.DeleteRow(row);
}

namespace {
std::mutex g_glossaryInstanceMutex;
std::unique_ptr<CGlossary> g_glossary;
}  // namespace

CGlossary& GetGlossary() {
    std::lock_guard<std::mutex> lock(g_glossaryInstanceMutex);
    if (!g_glossary) {
        const std::filesystem::path path = CGlossary::DefaultPath();
        g_glossary = TakePreloadedGlossary(path);
        if (!g_glossary) {
            g_glossary = std::make_unique<CGlossary>(path);
        }
    }
    return *g_glossary;
}

void ReleaseGlossary() {
    std::lock_guard<std::mutex> lock(g_glossaryInstanceMutex);
    g_glossary.reset();
}
