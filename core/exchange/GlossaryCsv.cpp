#include <algorithm>

#include "core/exchange/GlossaryExchange.h"
#include "core/exchange/HeaderColumns.h"

namespace glossary_exchange::detail {
namespace {

const char kBom[] = "\xEF\xBB\xBF";

// The fields of one record. Their strings are reused from record to record, so reading a
// large file allocates nothing per record.
struct Fields {
    std::vector<std::string> text;
    size_t count = 0;

    void Start() {
        count = 0;
        Next();
    }
    void Next() {
        if (count == text.size()) {
            text.emplace_back();
        }
        text[count++].clear();
    }
    std::string& Last() { return text[count - 1]; }
};

// Reads one record of fields; `pos` moves past its line end. RFC 4180: a quoted field keeps
// delimiters, quotes ("" for one) and line breaks; CR LF and LF both end a record.
bool ReadRecord(std::string_view text, size_t& pos, char delimiter, Fields& fields) {
    fields.Start();
    const char stops[] = {delimiter, '\r', '\n', '"', '\0'};
    const std::string_view stopSet(stops, 4);
    while (pos < text.size()) {
        std::string& field = fields.Last();
        if (text[pos] == '"' && field.empty()) {
            // A quoted field runs to the quote that is not doubled.
            ++pos;
            while (true) {
                const size_t quote = text.find('"', pos);
                if (quote == std::string_view::npos) {
                    return false;  // no closing quote
                }
                field.append(text.substr(pos, quote - pos));
                pos = quote + 1;
                if (pos < text.size() && text[pos] == '"') {
                    field.push_back('"');
                    ++pos;
                    continue;
                }
                break;
            }
            if (pos < text.size() && text[pos] != delimiter && text[pos] != '\r' &&
                text[pos] != '\n') {
                return false;  // text after the closing quote
            }
            continue;
        }
        const size_t stop = text.find_first_of(stopSet, pos);
        const size_t end = stop == std::string_view::npos ? text.size() : stop;
        field.append(text.substr(pos, end - pos));
        pos = end;
        if (pos >= text.size()) {
            break;
        }
        const char c = text[pos];
        if (c == delimiter) {
            fields.Next();
            ++pos;
        } else if (c == '\n' || (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')) {
            pos += c == '\n' ? 1 : 2;
            return true;
        } else {
            field.push_back(c);  // a lone CR, or a quote inside an unquoted field
            ++pos;
        }
    }
    return true;
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",;\"\r\n") != std::string::npos ||
           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

void AppendField(std::string& out, std::string_view field) {
    if (!NeedsQuotes(field)) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (const char c : field) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

// The delimiter of a file: the one of ",", ";" and tab that its first line uses most, outside
// quotes (a spreadsheet set to a comma-decimal locale writes ";"); "," on a tie.
char DetectDelimiter(std::string_view text) {
    size_t counts[3] = {0, 0, 0};
    const char candidates[3] = {',', ';', '\t'};
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            for (size_t i = 0; i < 3; ++i) {
                counts[i] += c == candidates[i] ? 1 : 0;
            }
        }
    }
    size_t best = 0;
    for (size_t i = 1; i < 3; ++i) {
        best = counts[i] > counts[best] ? i : best;
    }
    return candidates[best];
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined.append(joined.empty() ? "" : ", ").append(name.empty() ? "(no name)" : name);
    }
    return joined;
}

}  // namespace

void ParseCsv(std::string_view text, const ReadOptions& options, ParseLog& log,
              const EntrySink& sink) {
    log.unit = "record";
    if (text.substr(0, 3) == kBom) {
        text.remove_prefix(3);
    }
    const char delimiter = DetectDelimiter(text);
    size_t pos = 0;
    Fields fields;
    if (!ReadRecord(text, pos, delimiter, fields)) {
        log.errors.push_back("record 0: a quoted field of the header is not closed properly");
        return;
    }
    const std::vector<std::string_view> names(
        fields.text.begin(), fields.text.begin() + static_cast<std::ptrdiff_t>(fields.count));
    const HeaderColumns header(names);
    // The first line is the header; with columns named by position, whatever it says.
    Columns columns;
    const size_t expected = fields.count;  // the fields every record has
    if (options.columns) {
        columns = *options.columns;
        const size_t named =
            size_t(std::max({columns.term, columns.meaning, columns.explanation})) + 1;
        if (named > expected) {
            log.errors.push_back("record 0: the header has " + std::to_string(expected) +
                                 " columns, --columns names " + std::to_string(named));
            return;
        }
    } else if (header.Found()) {
        columns = header.Columns();
        if (!header.PassedOver().empty()) {
            log.notes.push_back("columns passed over: " + JoinNames(header.PassedOver()));
        }
    } else {
        log.errors.push_back("record 0: " + header.Problem());
        return;
    }
    for (int number = 1; pos < text.size(); ++number) {
        const auto where = [number] { return "record " + std::to_string(number) + ": "; };
        if (!ReadRecord(text, pos, delimiter, fields)) {
            log.errors.push_back(where() + "a quoted field is not closed properly");
            return;
        }
        if (fields.count == 1 && fields.text[0].empty()) {
            continue;  // an empty line
        }
        if (fields.count != expected) {
            log.errors.push_back(where() + "expected " + std::to_string(expected) +
                                 " fields, found " + std::to_string(fields.count));
            continue;
        }
        const std::string_view explanation =
            columns.explanation >= 0 ? std::string_view(fields.text[size_t(columns.explanation)])
                                     : std::string_view();
        sink(RawEntry{number, fields.text[size_t(columns.term)],
                      fields.text[size_t(columns.meaning)], explanation, pos});
    }
}

void BeginCsv(std::string& out) {
    out.append(kBom).append("en,zh-CN,explanation\r\n");
}

bool AppendCsv(std::string& out, std::string_view term, std::string_view meaning,
               std::string_view explanation) {
    AppendField(out, term);
    out.push_back(',');
    AppendField(out, meaning);
    out.push_back(',');
    AppendField(out, explanation);
    out.append("\r\n");
    return true;
}

}  // namespace glossary_exchange::detail
