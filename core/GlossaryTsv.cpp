#include "core/GlossaryTsv.h"

#include <unordered_map>

#include "core/PairFile.h"
#include "util/GbkText.h"

namespace glossary_tsv {
namespace {

const char kHeader[] = "term\tmeaning\texplanation";

bool Unescape(const std::string& field, std::string& out) {
    out.clear();
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out.push_back(field[i]);
            continue;
        }
        if (i + 1 >= field.size()) {
            return false;
        }
        switch (field[++i]) {
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
    }
    return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

}  // namespace

Result Parse(const std::string& utf8Text) {
    Result result;
    std::unordered_map<std::string, int> seen;
    size_t start = 0;
    int lineNo = 0;
    while (start < utf8Text.size()) {
        size_t end = utf8Text.find('\n', start);
        if (end == std::string::npos) {
            end = utf8Text.size();
        }
        std::string line = utf8Text.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        if (lineNo == 1) {
            if (line != kHeader) {
                result.errors.push_back(where +
                                        "the header must be \"term<TAB>meaning<TAB>explanation\"");
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        const std::vector<std::string> raw = SplitTabs(line);
        if (raw.size() != 3) {
            result.errors.push_back(where + "expected 3 tab-separated fields, found " +
                                    std::to_string(raw.size()));
            continue;
        }
        std::string fields[3];
        bool ok = true;
        for (int i = 0; i < 3 && ok; ++i) {
            std::string text;
            if (!Unescape(raw[i], text)) {
                result.errors.push_back(where + "unknown escape (only \\n, \\t and \\\\ exist)");
                ok = false;
            } else if (text.find('\x07') != std::string::npos ||
                       text.find('\x08') != std::string::npos) {
                result.errors.push_back(where + "a field holds the byte 0x07 or 0x08");
                ok = false;
            } else if (!gbk::IsRepresentable(text)) {
                result.errors.push_back(where + "a field holds characters GBK cannot represent");
                ok = false;
            } else {
                fields[i] = gbk::FromUtf8(text);
            }
        }
        if (!ok) {
            continue;
        }
        if (fields[0].empty() || fields[1].empty()) {
            result.errors.push_back(where + "the term and the meaning must not be empty");
            continue;
        }
        CTermRecord record(fields[0], fields[1], fields[2]);
        if (record.ToText(CTermRecord::kSeparator).size() >
            Qm_conf_solitude_File::kMaxFieldLength) {
            result.errors.push_back(where + "the entry is longer than 9999 bytes in GBK");
            continue;
        }
        const auto [it, inserted] = seen.emplace(fields[0], lineNo);
        if (!inserted) {
            result.errors.push_back(where + "the term \"" + raw[0] + "\" already stands on line " +
                                    std::to_string(it->second));
            continue;
        }
        result.entries.push_back(Entry{lineNo, std::move(record)});
    }
    if (lineNo == 0) {
        result.errors.push_back("line 1: the header is missing");
    }
    return result;
}

}  // namespace glossary_tsv
