#include <algorithm>

#include "core/exchange/GlossaryExchange.h"
#include "core/exchange/HeaderColumns.h"

namespace glossary_exchange::detail {
namespace {

const char kHeader[] = "term\tmeaning\texplanation";

bool Unescape(std::string_view field, std::string& out) {
    out.clear();
    size_t pos = 0;
    while (true) {
        const size_t slash = field.find('\\', pos);
        out.append(field.substr(pos, slash == std::string_view::npos ? slash : slash - pos));
        if (slash == std::string_view::npos) {
            return true;
        }
        if (slash + 1 >= field.size()) {
            return false;
        }
        switch (field[slash + 1]) {
            case 'n':
                out.append("\r\n");
                break;
            case 't':
                out.push_back('\t');
                break;
            case '\\':
                out.push_back('\\');
                break;
            default:
                return false;
        }
        pos = slash + 2;
    }
}

// Splits at tabs into `fields`, reused from line to line.
void SplitTabs(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return;
        }
        start = tab + 1;
    }
}

// The field's text: the field itself when it holds no escape, else its unescaped form in
// `scratch`. False on an unknown escape.
bool FieldText(std::string_view field, std::string& scratch, std::string_view& text) {
    if (field.find('\\') == std::string_view::npos) {
        text = field;
        return true;
    }
    if (!Unescape(field, scratch)) {
        return false;
    }
    text = scratch;
    return true;
}

// False when the field holds a line break other than CR LF, which the format cannot express.
bool Escape(std::string_view field, std::string& out) {
    for (size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\') {
            out.append("\\\\");
        } else if (c == '\t') {
            out.append("\\t");
        } else if (c == '\r' && i + 1 < field.size() && field[i + 1] == '\n') {
            out.append("\\n");
            ++i;
        } else if (c == '\r' || c == '\n') {
            return false;
        } else {
            out.push_back(c);
        }
    }
    return true;
}

}  // namespace

// The first line is a header when it is the bundled form, names its columns (HeaderColumns),
// or, with columns given, holds any name Termix knows; otherwise it is the first record, and
// each record has two fields (term, meaning) or three (and explanation).
void ParseTsv(std::string_view text, const ReadOptions& options, ParseLog& log,
              const EntrySink& sink) {
    log.unit = "line";
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    size_t start = 0;
    int lineNo = 0;
    std::vector<std::string_view> raw;
    std::string scratch[3];
    Columns columns{0, 1, 2};
    size_t expected = 0;  // fields each line has, after a header; 0: two or three
    const auto where = [&lineNo] { return "line " + std::to_string(lineNo) + ": "; };
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        SplitTabs(line, raw);
        if (lineNo == 1) {
            const HeaderColumns header(raw);
            if (options.columns) {
                columns = *options.columns;
                if (header.NamesAny()) {
                    continue;
                }
            } else if (line == kHeader) {
                expected = 3;
                continue;
            } else if (header.Found()) {
                columns = header.Columns();
                expected = raw.size();
                if (!header.PassedOver().empty()) {
                    std::string names;
                    for (const std::string& name : header.PassedOver()) {
                        names.append(names.empty() ? "" : ", ").append(name);
                    }
                    log.notes.push_back("columns passed over: " + names);
                }
                continue;
            }
        }
        if (line.empty()) {
            continue;
        }
        const size_t needed =
            options.columns
                ? size_t(std::max({columns.term, columns.meaning, columns.explanation})) + 1
                : 2;
        const bool fits = expected != 0     ? raw.size() == expected
                          : options.columns ? raw.size() >= needed
                                            : raw.size() == 2 || raw.size() == 3;
        if (!fits) {
            log.errors.push_back(where() + "expected " +
                                 (expected != 0     ? std::to_string(expected)
                                  : options.columns ? "at least " + std::to_string(needed)
                                                    : std::string("2 or 3")) +
                                 " tab-separated fields, found " + std::to_string(raw.size()));
            continue;
        }
        RawEntry entry;
        entry.number = lineNo;
        entry.end = start;
        const bool hasExplanation =
            columns.explanation >= 0 && size_t(columns.explanation) < raw.size();
        if (!FieldText(raw[size_t(columns.term)], scratch[0], entry.term) ||
            !FieldText(raw[size_t(columns.meaning)], scratch[1], entry.meaning) ||
            (hasExplanation &&
             !FieldText(raw[size_t(columns.explanation)], scratch[2], entry.explanation))) {
            log.errors.push_back(where() + "unknown escape (only \\n, \\t and \\\\ exist)");
            continue;
        }
        sink(entry);
    }
    if (lineNo == 0) {
        log.errors.push_back("line 1: the file is empty");
    }
}

void BeginTsv(std::string& out) {
    out.append(kHeader).push_back('\n');
}

bool AppendTsv(std::string& out, std::string_view term, std::string_view meaning,
               std::string_view explanation) {
    const bool ok = Escape(term, out) && (out.push_back('\t'), Escape(meaning, out)) &&
                    (out.push_back('\t'), Escape(explanation, out));
    out.push_back('\n');
    return ok;
}

}  // namespace glossary_exchange::detail
