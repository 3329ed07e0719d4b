#pragma once

#include <functional>
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
// (csv) or the conceptEntry (tbx), counted from 1.
struct RawEntry {
    int number = 0;
    std::string term;
    std::string meaning;
    std::string explanation;
};

// How the format names the place of entry `number`: "line 3", "record 3", "conceptEntry 3".
std::string Place(Format format, int number);

struct Entry {
    int number = 0;
    CTermRecord record;  // GBK
};

struct ReadResult {
    std::vector<Entry> entries;
    std::vector<std::string> errors;  // UTF-8, each naming its entry
    size_t ignoredElements = 0;       // tbx: elements that carry nothing Termix keeps
};

// Parses a file and checks every entry as the editing windows check a record: term and meaning
// not empty, every character representable in GBK, no separator byte, at most 9,999 bytes,
// each term once.
ReadResult Read(Format format, std::string_view text);

// Writes `records` (GBK), which the caller has sorted by term. False, with `error` naming the
// term, when a record cannot be written so that it reads back the same. `progress` hears how
// many records are done, now and then.
bool Write(Format format, const std::vector<TermRecordView>& records, std::string& out,
           std::string& error, const std::function<void(size_t done)>& progress = {});

// Views of `records`, for Write.
std::vector<TermRecordView> ViewsOf(const std::vector<CTermRecord>& records);

namespace detail {
// Format parsers: raw entries, with syntax errors added to `errors`.
std::vector<RawEntry> ParseTsv(std::string_view text, std::vector<std::string>& errors);
std::vector<RawEntry> ParseCsv(std::string_view text, std::vector<std::string>& errors);
std::vector<RawEntry> ParseTbx(std::string_view text, std::vector<std::string>& errors,
                               size_t& ignored);
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
