#include "core/GlossaryExchange.h"

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

}  // namespace

void ParseCsv(std::string_view text, std::vector<std::string>& errors, const EntrySink& sink) {
    if (text.substr(0, 3) == kBom) {
        text.remove_prefix(3);
    }
    // The header names the delimiter: a spreadsheet set to a comma-decimal locale uses ";".
    const size_t headerEnd = text.find('\n');
    const std::string_view header = text.substr(0, headerEnd);
    const char delimiter =
        header.find(';') != std::string_view::npos && header.find(',') == std::string_view::npos
            ? ';'
            : ',';
    size_t pos = 0;
    Fields fields;
    if (!ReadRecord(text, pos, delimiter, fields) || fields.count != 3 || fields.text[0] != "en" ||
        fields.text[1] != "zh-CN" || fields.text[2] != "explanation") {
        errors.push_back("record 0: the header must be \"en,zh-CN,explanation\"");
        return;
    }
    for (int number = 1; pos < text.size(); ++number) {
        const auto where = [number] { return "record " + std::to_string(number) + ": "; };
        if (!ReadRecord(text, pos, delimiter, fields)) {
            errors.push_back(where() + "a quoted field is not closed properly");
            return;
        }
        if (fields.count == 1 && fields.text[0].empty()) {
            continue;  // an empty line
        }
        if (fields.count != 3) {
            errors.push_back(where() + "expected 3 fields, found " + std::to_string(fields.count));
            continue;
        }
        sink(RawEntry{number, fields.text[0], fields.text[1], fields.text[2], pos});
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
