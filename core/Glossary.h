#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/DataLocation.h"
#include "core/ReportList.h"
#include "core/TermIndex.h"
#include "core/TermRecord.h"
#include "core/fileio/DeferredFileCopy.h"
#include "core/fileio/FileStamp.h"

// Guards every glossary's map. Lock order: the history lock is always taken before this one.
extern std::mutex g_csGlossary;

// The glossary: one record per term (case-sensitive, byte-exact key), held in memory and
// persisted in "Termix.CGlossary.termix" next to the executable.
class CGlossary {
public:
    static constexpr const char* kFileSuffix = datafile::kGlossarySuffix;
    // How the glossary file marks its fields and ends its records.
    static constexpr std::string_view kFieldMarker = "#";
    static constexpr std::string_view kRecordTerminator = "\r\n";

    // A glossary on the file at `path`, loaded at once.
    explicit CGlossary(std::filesystem::path path);
    virtual ~CGlossary();
    CGlossary(const CGlossary&) = delete;
    CGlossary& operator=(const CGlossary&) = delete;

    // The path next to the executable.
    static std::filesystem::path DefaultPath();
    const std::filesystem::path& Path() const { return m_path; }

    void Add(const CTermRecord& record);
    // Adds or replaces every record in one step, keeping `text` instead of copying it, so a
    // bulk import costs no allocation per record. Each record is a view into `text` laid out
    // as stored: term, separator, meaning, separator, explanation.
    void AddAll(const std::vector<TermRecordView>& records, std::unique_ptr<std::string> text);
    void Update(const CTermRecord& record) { Add(record); }
    void Delete(const std::string& term);
    bool Exists(const std::string& term) const;
    bool Get(const std::string& term, CTermRecord& record) const;
    long GetCount() const;
    void RemoveAll();

    // Replaces the records with those of the pair file at `path`; never writes the file. A file
    // whose reading stopped early is copied aside first (see DamagedFile.h). A large file whose
    // records read whole is read from its mapping and copied into the glossary's memory a moment
    // later, off the caller's thread (see DeferredFileCopy.h).
    void Load(const std::filesystem::path& path);
    // Whether Load tries the file at `path` from its mapping: a large file, where the system maps
    // files. (It then reads a file whose records do not read whole the usual way after all.)
    static bool LoadsFromMapping(const std::filesystem::path& path);
    // Makes that copy now, if it is still to be made, and waits for it.
    void OwnText() const;
    // What Save() found and did.
    enum class SaveResult {
        kWritten,   // the file was as this glossary last read or wrote it, or gone: written
        kReloaded,  // another program changed it, and nothing was changed here: read again
        kMerged,    // another program changed it: read again, the changes made here put over
                    // it record by record, and written
    };
    // Writes every record to the glossary's own file, holding the turn to replace it (SaveTurn)
    // from its check to the rename, so that it never saves over a change it has not read: a file
    // that is no longer the one last read or written (device, inode, size, times) is read again
    // first. When this glossary has changes of its own (Add, Update, Delete since it last read
    // or wrote the file), they win for their terms, deletions included, and every other record
    // of the new file stays. Raises the write exception when it cannot write.
    SaveResult Save();
    // Writes every record to `path`, whatever it holds (raises the write exception when it
    // cannot).
    void Save(const std::filesystem::path& path);
    // Whether Add, Update or Delete changed the glossary since it last read or wrote its file.
    bool HasOwnChanges() const;

    // The queries: fill `list` with one row (term, 0x08, meaning) per match, sorted by term,
    // and return the number of rows.
    long ListAll(IReportList& list) const;
    long ListByFirstLetter(IReportList& list, char letter) const;
    long ListNonLetter(IReportList& list) const;
    long ListByKeyword(IReportList& list, const std::string& keyword) const;

    // The keyword search over another field: the meaning (the Chinese-to-English lookup), the
    // explanation, or any of the three; the same folding and multibyte rules as the term search.
    enum class SearchField { kTerm, kMeaning, kExplanation, kAll };
    long ListByKeywordIn(IReportList& list, const std::string& keyword, SearchField field) const;

    // Views of every record sorted by term in byte order. They stay valid until the glossary
    // next changes; meant for one thread that reads the whole glossary (export).
    std::vector<TermRecordView> SortedViews() const;

    // Whether the record's term is absent, present with exactly this content, or present with
    // other content; compares in place, without copying.
    enum class Presence { kAbsent, kSame, kDifferent };
    Presence Match(const TermRecordView& record) const;

    // Change the glossary and the one affected row of a list together.
    void AddAndShow(const CTermRecord& record, IReportList& list);
    bool UpdateAndShow(const CTermRecord& record, IReportList& list, int row);
    bool DeleteAndShow(const CTermRecord& record, IReportList& list, int row);

private:
    // One record as a view into text the glossary owns (the loaded file, or a block per Add):
    // term, meaning and explanation stand in this order, one byte apart, as in a stored record.
    struct Slot {
        const char* text = nullptr;
        uint32_t termLength = 0;
        uint32_t meaningLength = 0;
        uint32_t explanationLength = 0;

        std::string_view Term() const { return {text, termLength}; }
        std::string_view Meaning() const {
            return meaningLength == 0 ? std::string_view()
                                      : std::string_view(text + termLength + 1, meaningLength);
        }
        std::string_view Explanation() const {
            return explanationLength == 0
                       ? std::string_view()
                       : std::string_view(text + termLength + meaningLength + 2, explanationLength);
        }
    };

    template <typename Condition>
    long Fill(IReportList& list, Condition matches) const;
    void Put(const Slot& slot);
    static Slot SlotOfStored(std::string_view value);
    // The slot of `term`, or TermIndex::kNone; builds the index first when it is pending.
    uint32_t FindSlot(std::string_view term) const;
    // Builds the index of a glossary loaded without one (the caller holds g_csGlossary).
    void EnsureIndexed() const;
    // Adds every slot to `index`; no two may have the same term.
    static void IndexUniqueSlots(const std::vector<Slot>& slots, TermIndex& index);
    // Both return where parsing stopped and count the records parsed in `records`.
    static std::optional<size_t> LoadFast(std::string_view content, std::vector<Slot>& slots,
                                          TermIndex& index, size_t& records, bool& indexed);
    static size_t LoadExact(std::string_view content, std::vector<Slot>& slots, TermIndex& index,
                            size_t& records);
    static void KeepOnlyParsedText(std::unique_ptr<std::string>& content, size_t parsed,
                                   std::vector<Slot>& slots);
    static CTermRecord ToRecord(const Slot& slot);
    std::vector<TermRecordView> SortedViewsLocked() const;
    void Clear();
    // The mapped path of Load; false, changing nothing, when the file is to be read instead.
    bool LoadMapped(const std::filesystem::path& path);
    // Moves the slots that view `mapped` to `copy`, which the glossary then keeps.
    void AdoptCopy(std::string_view mapped, std::unique_ptr<std::string> copy);

    // Reads the own file again and puts this glossary's own changes over it (Save).
    void TakeInOutsideChange();

    std::filesystem::path m_path;
    // The own file as last read or written (nothing: it did not exist), and the terms changed
    // since by Add, Update and Delete. AddAll, the bulk import made under the file's turn, is
    // not counted.
    std::optional<FileStamp> m_stamp;
    std::unordered_set<std::string> m_ownChanges;
    // Records are dense for fast scans; the index maps a term to its slot. A glossary loaded from
    // a file whose terms stand in increasing order is indexed at its first lookup or change
    // (m_indexPending): the load, and with it the program's start, skips that work. Text blocks
    // stay alive until the glossary is emptied, so views never dangle.
    std::vector<Slot> m_slots;
    mutable TermIndex m_index;
    mutable bool m_indexPending = false;
    std::vector<std::unique_ptr<std::string>> m_text;
    // While a loaded file's text is still read from its mapping. Last, so that it is destroyed
    // (and its thread done) before the slots and text blocks it may still move.
    std::unique_ptr<DeferredFileCopy> m_fileCopy;
};

// The program's glossary (GlossaryPreload.cpp), created and loaded by the first call (which raises
// the read exception and creates nothing when the load fails; the next call tries again).
CGlossary& GetGlossary();
// Destroys the program's glossary without writing it.
void ReleaseGlossary();
