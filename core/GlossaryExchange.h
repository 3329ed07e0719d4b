#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/TermRecord.h"

// Glossaries exchanged with other tools, all UTF-8:
//  - tsv: the bundled glossary's source form: a header line "term<TAB>meaning<TAB>explanation",
//    then one entry per line; inside a field "\n" is a line break (CR LF, the program's line
//    break), "\t" a tab and "\\" a backslash;
//  - csv: RFC 4180 with a byte-order mark and the header "en,zh-CN,explanation"; a spreadsheet's
//    ";" delimiter and LF line ends are read too;
//  - tbx: TBX-Basic (ISO 30042), one conceptEntry per term: the term in an "en" langSec, the
//    meaning as the term of a "zh-CN" langSec with the explanation as its definition.
namespace glossary_exchange {

enum class Format { kTsv, kCsv, kTbx };
std::optional<Format> FormatFromName(std::string_view name);

// An entry as a file holds it (UTF-8) and where: the line (tsv), the record after the header
// (csv) or the conceptEntry (tbx), counted from 1. The views are valid only while the parser's
// sink runs: they point into the file's text or into the parser's scratch buffers.
struct RawEntry {
    int number = 0;
    std::string_view term;
    std::string_view meaning;
    std::string_view explanation;
    size_t end = 0;  // the byte of the file where the entry ends, for progress
};
using EntrySink = std::function<void(const RawEntry&)>;

// How the format names the place of entry `number`: "line 3", "record 3", "conceptEntry 3".
std::string Place(Format format, int number);

// An accepted entry: its record (GBK) is a view into the ReadResult's storage.
struct Entry {
    int number = 0;
    TermRecordView record;
};

struct ReadResult {
    std::vector<Entry> entries;
    std::vector<std::string> errors;  // UTF-8, each naming its entry
    size_t ignoredElements = 0;       // tbx: elements that carry nothing Termix keeps
    // The GBK text of every accepted entry, one block for all of them: a million entries cost
    // no million allocations. Held by pointer so that moving the result keeps the views valid.
    std::unique_ptr<std::string> storage = std::make_unique<std::string>();
};

// Parses a file and checks every entry as the editing windows check a record: term and meaning
// not empty, every character representable in GBK, no separator byte, at most 9,999 bytes,
// each term once. `progress` hears how many bytes of `text` are read, now and then.
ReadResult Read(Format format, std::string_view text,
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
// Format parsers: each raw entry goes to `sink` in file order; syntax errors are added to
// `errors`.
void ParseTsv(std::string_view text, std::vector<std::string>& errors, const EntrySink& sink);
void ParseCsv(std::string_view text, std::vector<std::string>& errors, const EntrySink& sink);
void ParseTbx(std::string_view text, std::vector<std::string>& errors, size_t& ignored,
              const EntrySink& sink);
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
}  // namespace detail

}  // namespace glossary_exchange
