#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/TermRecord.h"

// Glossaries exchanged with other tools, all UTF-8 (TBX also UTF-16):
//  - tsv: the bundled glossary's source form: a header line "term<TAB>meaning<TAB>explanation",
//    then one entry per line; inside a field "\n" is a line break (CR LF, the program's line
//    break), "\t" a tab and "\\" a backslash. Read too: a header that names its columns (see
//    HeaderColumns), and a tab file without a header (two or three columns);
//  - csv: RFC 4180 with a byte-order mark and the header "en,zh-CN,explanation". Read too: ";"
//    and tab delimiters, LF line ends, no byte-order mark, and any header whose columns
//    HeaderColumns tells apart, extra columns passed over;
//  - tbx: TBX-Basic v3 (ISO 30042:2019), one conceptEntry per term: the term in an "en" langSec,
//    the meaning as the term of a "zh-CN" langSec with the explanation as its definition;
//  - tbx-v2: the same in TBX-Basic v2 (martif, termEntry, langSet, tig).
// A TBX file is read as v2 or v3 by its root element, whichever format was asked for (see
// TbxEntry for how an entry's terms become records).
namespace glossary_exchange {

enum class Format { kTsv, kCsv, kTbx, kTbxV2 };
std::optional<Format> FormatFromName(std::string_view name);

// Which column (from 0) holds each field; -1: none. Given by the user (--columns) for a file
// whose header names no column Termix knows.
struct Columns {
    int term = -1;
    int meaning = -1;
    int explanation = -1;
};
// Reads "term,meaning,explanation" in the file's column order; "-" or an empty name passes a
// column over. Nothing, with the problem, unless term and meaning are each named once.
std::optional<Columns> ParseColumns(std::string_view columnList, std::string& problem);

struct ReadOptions {
    std::optional<Columns> columns;  // tsv, csv
};

// An entry as a file holds it (UTF-8) and where: the line (tsv), the record after the header
// (csv) or the termEntry/conceptEntry (tbx), counted from 1; every English term of one TBX
// entry is a raw entry of that number. The views are valid only while the parser's
// sink runs: they point into the file's text or into the parser's scratch buffers.
struct RawEntry {
    int number = 0;
    std::string_view term;
    std::string_view meaning;
    std::string_view explanation;
    size_t end = 0;  // the byte of the file where the entry ends, for progress
};
using EntrySink = std::function<void(const RawEntry&)>;

// An accepted entry: its record (GBK) is a view into the ReadResult's storage.
struct Entry {
    int number = 0;
    TermRecordView record;
};

// What a parser reports besides its entries (UTF-8).
struct ParseLog {
    std::vector<std::string> errors;  // each naming its entry
    std::vector<std::string> notes;   // what was passed over: columns, languages
    size_t ignoredElements = 0;       // tbx: elements that carry nothing Termix keeps
    std::string unit;  // how the file names its entries: line, record, termEntry, conceptEntry
};

struct ReadResult : ParseLog {
    std::vector<Entry> entries;
    // The GBK text of every accepted entry, one block for all of them: a million entries cost
    // no million allocations. Held by pointer so that moving the result keeps the views valid.
    std::unique_ptr<std::string> storage = std::make_unique<std::string>();

    // How the file names the place of entry `number`: "line 3", "record 3", "termEntry 3".
    std::string Place(int number) const { return unit + " " + std::to_string(number); }
};

// Parses a file and checks every entry as the editing windows check a record: term and meaning
// not empty, every character representable in GBK, no separator byte, at most 9,999 bytes,
// each term once. `progress` hears how many bytes of `text` are read, now and then.
ReadResult Read(Format format, std::string_view text, const ReadOptions& options = {},
                const std::function<void(size_t done)>& progress = {});

// Writes `records` (GBK), which the caller has sorted by term. False, with `error` naming the
// term, when a record cannot be written so that it reads back the same. `progress` hears how
// many records are done, now and then.
bool Write(Format format, const std::vector<TermRecordView>& records, std::string& out,
           std::string& error, const std::function<void(size_t done)>& progress = {});
// The same, handing the text to `output` in pieces of about a megabyte, so that a large export
// is never held in memory whole. False when `output` fails (with `error` empty) or a record
// cannot be written; what was handed over before then is only part of the file.
using Output = std::function<bool(std::string_view piece)>;
bool Write(Format format, const std::vector<TermRecordView>& records, const Output& output,
           std::string& error, const std::function<void(size_t done)>& progress = {});

// Views of `records`, for Write.
std::vector<TermRecordView> ViewsOf(const std::vector<CTermRecord>& records);

namespace detail {
// Format parsers: each raw entry goes to `sink` in file order; syntax errors, notes and the
// unit that names entries go to `log`.
void ParseTsv(std::string_view text, const ReadOptions& options, ParseLog& log,
              const EntrySink& sink);
void ParseCsv(std::string_view text, const ReadOptions& options, ParseLog& log,
              const EntrySink& sink);
void ParseTbx(std::string_view bytes, ParseLog& log, const EntrySink& sink);
// Format writers: what stands before the records, one record of UTF-8 fields (false when the
// format cannot carry it), and what stands after them.
void BeginTsv(std::string& out);
bool AppendTsv(std::string& out, std::string_view term, std::string_view meaning,
               std::string_view explanation);
void BeginCsv(std::string& out);
bool AppendCsv(std::string& out, std::string_view term, std::string_view meaning,
               std::string_view explanation);
void BeginTbx(std::string& out);
bool AppendTbx(std::string& out, size_t id, std::string_view term, std::string_view meaning,
               std::string_view explanation);
void EndTbx(std::string& out);
void BeginTbxV2(std::string& out);
bool AppendTbxV2(std::string& out, size_t id, std::string_view term, std::string_view meaning,
                 std::string_view explanation);
void EndTbxV2(std::string& out);
}  // namespace detail

}  // namespace glossary_exchange
