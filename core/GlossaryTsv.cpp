#include "core/GlossaryExchange.h"

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

// Splits at tabs into `fields` (the first three); returns how many fields the line has.
size_t SplitTabs(std::string_view line, std::string_view (&fields)[3]) {
    size_t count = 0;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        if (count < 3) {
            fields[count] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
        }
        ++count;
        if (tab == std::string_view::npos) {
            return count;
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

void ParseTsv(std::string_view text, std::vector<std::string>& errors, const EntrySink& sink) {
    size_t start = 0;
    int lineNo = 0;
    std::string_view raw[3];
    std::string scratch[3];
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
        if (lineNo == 1) {
            if (line != kHeader) {
                errors.push_back(where() +
                                 "the header must be \"term<TAB>meaning<TAB>explanation\"");
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        if (const size_t count = SplitTabs(line, raw); count != 3) {
            errors.push_back(where() + "expected 3 tab-separated fields, found " +
                             std::to_string(count));
            continue;
        }
        RawEntry entry;
        entry.number = lineNo;
        entry.end = start;
        if (!FieldText(raw[0], scratch[0], entry.term) ||
            !FieldText(raw[1], scratch[1], entry.meaning) ||
            !FieldText(raw[2], scratch[2], entry.explanation)) {
            errors.push_back(where() + "unknown escape (only \\n, \\t and \\\\ exist)");
            continue;
        }
        sink(entry);
    }
    if (lineNo == 0) {
        errors.push_back("line 1: the header is missing");
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
