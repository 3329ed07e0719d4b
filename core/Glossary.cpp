#include "core/Glossary.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <memory>

#include "core/DataLocation.h"
#include "core/PairFile.h"
#include "core/fileio/FileStatusText.h"
#include "core/fileio/SaveTurn.h"
#include "util/FoldedKeyword.h"
#include "util/GbkText.h"

std::mutex g_csGlossary;

namespace {
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

CGlossary::~CGlossary() {
    m_fileCopy.reset();
}

std::filesystem::path CGlossary::DefaultPath() {
    return GetDataLocation().GlossaryFile();
}

CTermRecord CGlossary::ToRecord(const Slot& slot) {
    return CTermRecord(std::string(slot.Term()), std::string(slot.Meaning()),
                       std::string(slot.Explanation()));
}

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

void CGlossary::OwnText() const {
    if (m_fileCopy) {
        m_fileCopy->CopyNow();
    }
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
    const std::optional<FileStamp> now = StampOf(m_path);
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
        path, kFieldMarker, kRecordTerminator, [this](const fileio::ChunkWriter& write) {
            constexpr size_t kPiece = size_t{1} << 20;
            std::string piece;
            std::string value;
            piece.reserve(kPiece + 2 * Qm_conf_solitude_File::kMaxFieldLength + 64);
            std::lock_guard<std::mutex> lock(g_csGlossary);
            for (const TermRecordView& view : SortedViewsLocked()) {
                value.assign(view.term).push_back(CTermRecord::kSeparator);
                value.append(view.meaning).push_back(CTermRecord::kSeparator);
                value.append(view.explanation).push_back(CTermRecord::kSeparator);
                if (!Qm_conf_solitude_File::AppendRecord(piece, view.term, value, kFieldMarker,
                                                         kRecordTerminator)) {
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
