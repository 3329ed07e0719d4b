#pragma once

#include <string>
#include <vector>

#include "core/TermRecord.h"

// The bundled glossary's source form: UTF-8 text, a header line "term<TAB>meaning<TAB>
// explanation", then one entry per line with three tab-separated fields. Inside a field "\n"
// is a line break (stored as CR LF, the program's line break), "\t" a tab and "\\" a backslash.
namespace glossary_tsv {

struct Entry {
    int line = 0;        // line number in the source, from 1
    CTermRecord record;  // GBK
};

struct Result {
    std::vector<Entry> entries;
    std::vector<std::string> errors;  // UTF-8, each naming its line
};

// Parses and checks the source: every field converts to GBK without loss, holds no 0x07 or
// 0x08, terms are unique and non-empty, meanings non-empty, records fit the file's limit.
Result Parse(const std::string& utf8Text);

}  // namespace glossary_tsv
