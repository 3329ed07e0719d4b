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

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
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

std::vector<RawEntry> ParseTsv(std::string_view text, std::vector<std::string>& errors) {
    std::vector<RawEntry> entries;
    size_t start = 0;
    int lineNo = 0;
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
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        if (lineNo == 1) {
            if (line != kHeader) {
                errors.push_back(where + "the header must be \"term<TAB>meaning<TAB>explanation\"");
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        const std::vector<std::string_view> raw = SplitTabs(line);
        if (raw.size() != 3) {
            errors.push_back(where + "expected 3 tab-separated fields, found " +
                             std::to_string(raw.size()));
            continue;
        }
        RawEntry entry;
        entry.number = lineNo;
        if (!Unescape(raw[0], entry.term) || !Unescape(raw[1], entry.meaning) ||
            !Unescape(raw[2], entry.explanation)) {
            errors.push_back(where + "unknown escape (only \\n, \\t and \\\\ exist)");
            continue;
        }
        entries.push_back(std::move(entry));
    }
    if (lineNo == 0) {
        errors.push_back("line 1: the header is missing");
    }
    return entries;
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
