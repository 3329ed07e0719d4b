#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <memory>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "core/fileio/FileView.h"

// How CGlossary reads its file: from the mapping of a large file that reads whole, otherwise
// from the file read into memory, the usual way while every key is its own term and the pair
// file's exact way when not.

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
        content, kFieldMarker, kRecordTerminator,
        [&](std::string_view key, std::string_view value) {
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
        content, kFieldMarker, kRecordTerminator,
        [&](std::string_view key, std::string_view value) {
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
        content.substr(0, 64 * 1024), CGlossary::kFieldMarker, CGlossary::kRecordTerminator,
        [&sampled](std::string_view, std::string_view) { ++sampled; });
    return sampled == 0 ? 16 : content.size() / std::max<size_t>(sampledBytes / sampled, 1) + 16;
}

}  // namespace

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

void CGlossary::Load(const std::filesystem::path& path) {
    RemoveAll();
    m_fileCopy.reset();  // nothing views the old mapping any more
    if (path == m_path) {
        // Taken before the read: a change made while reading shows as a newer file.
        m_stamp = StampOf(path);
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
