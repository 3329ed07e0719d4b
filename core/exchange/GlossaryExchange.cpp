#include "core/exchange/GlossaryExchange.h"

#include <algorithm>
#include <deque>

#include "core/TermIndex.h"
#include "core/TermRecordCheck.h"
#include "core/fileio/HugePages.h"
#include "util/GbkText.h"
#include "util/Utf8ToGbkTable.h"

namespace glossary_exchange {
namespace {

bool IsTbx(Format format) {
    return format == Format::kTbx || format == Format::kTbxV2;
}

// An accepted entry while the file is read: where its GBK fields stand in the storage.
struct Accepted {
    int number;
    size_t offset;
    uint32_t termLength;
    uint32_t meaningLength;
    uint32_t explanationLength;
};

// Appends the three fields in GBK to `storage`, one separator byte apart, and sets their
// lengths; false when a character had to be replaced. Fields without the separator byte (all
// but the refused ones) go through one conversion together, which then marks the field ends.
template <typename Convert>
bool AppendGbk(const RawEntry& raw, const Convert& convert, std::string& scratch,
               std::string& storage, Accepted& accepted) {
    const char separator = CTermRecord::kSeparator;
    const size_t offset = storage.size();
    if (raw.term.find(separator) != std::string_view::npos ||
        raw.meaning.find(separator) != std::string_view::npos ||
        raw.explanation.find(separator) != std::string_view::npos) {
        const size_t termAt = storage.size();
        bool ok = convert(raw.term, storage);
        const size_t meaningAt = (storage.push_back(separator), storage.size());
        ok = convert(raw.meaning, storage) && ok;
        const size_t explanationAt = (storage.push_back(separator), storage.size());
        ok = convert(raw.explanation, storage) && ok;
        accepted.termLength = static_cast<uint32_t>(meaningAt - 1 - termAt);
        accepted.meaningLength = static_cast<uint32_t>(explanationAt - 1 - meaningAt);
        accepted.explanationLength = static_cast<uint32_t>(storage.size() - explanationAt);
        return ok;
    }
    scratch.assign(raw.term).push_back(separator);
    scratch.append(raw.meaning).push_back(separator);
    scratch.append(raw.explanation);
    if (!convert(scratch, storage)) {
        return false;
    }
    const std::string_view converted = std::string_view(storage).substr(offset);
    const size_t first = converted.find(separator);
    const size_t second = converted.find(separator, first + 1);
    accepted.termLength = static_cast<uint32_t>(first);
    accepted.meaningLength = static_cast<uint32_t>(second - first - 1);
    accepted.explanationLength = static_cast<uint32_t>(converted.size() - second - 1);
    return true;
}

TermRecordView ViewOf(const Accepted& a, std::string_view storage) {
    const std::string_view text = storage.substr(a.offset);
    return {text.substr(0, a.termLength), text.substr(a.termLength + 1, a.meaningLength),
            text.substr(a.termLength + a.meaningLength + 2, a.explanationLength)};
}

// The checks of the editing windows, on an entry whose GBK form `AppendGbk` gave (`converted`
// false when that lost characters). The message naming the entry when it fails.
std::optional<std::string> Problem(Format format, const ReadResult& read, const RawEntry& raw,
                                   bool converted, const TermRecordView& record) {
    const std::string where = read.Place(raw.number) + ": ";
    if (!converted) {
        return where + "a field holds characters GBK cannot represent";
    }
    if (IsTbx(format) && raw.term.empty()) {
        return where + "the entry has no English term";
    }
    if (IsTbx(format) && raw.meaning.empty()) {
        return where + "the entry has no Chinese term for \"" + std::string(raw.term) + "\"";
    }
    if (raw.term.empty() || raw.meaning.empty()) {
        return where + "the term and the meaning must not be empty";
    }
    if (const TermRecordProblem problem = CheckTermRecord(record); !problem.ok()) {
        return where + gbk::ToUtf8(problem.message);
    }
    return std::nullopt;
}

// Writes the records to `out`; with `output`, hands `out` over whenever it holds a piece and
// once at the end.
bool WriteTo(Format format, const std::vector<TermRecordView>& records, std::string& out,
             const Output& output, std::string& error,
             const std::function<void(size_t done)>& progress) {
    constexpr size_t kPiece = size_t{1} << 20;
    switch (format) {
        case Format::kTsv:
            detail::BeginTsv(out);
            break;
        case Format::kCsv:
            detail::BeginCsv(out);
            break;
        case Format::kTbx:
            detail::BeginTbx(out);
            break;
        case Format::kTbxV2:
            detail::BeginTbxV2(out);
            break;
    }
    std::string gbkText;
    std::string utf8;
    size_t done = 0;
    for (const TermRecordView& record : records) {
        // One conversion per record: the fields never hold the separator byte, so it marks
        // where each field ends in the converted text too.
        gbkText.assign(record.term).push_back(CTermRecord::kSeparator);
        gbkText.append(record.meaning).push_back(CTermRecord::kSeparator);
        gbkText.append(record.explanation);
        utf8.clear();
        gbk::AppendToUtf8(gbkText, utf8);
        const std::string_view all(utf8);
        const size_t first = all.find(CTermRecord::kSeparator);
        const size_t second = all.find(CTermRecord::kSeparator, first + 1);
        const std::string_view term = all.substr(0, first);
        const std::string_view meaning = all.substr(first + 1, second - first - 1);
        const std::string_view explanation = all.substr(second + 1);
        // Bytes that are not GBK text come out as U+FFFD, which no import could turn back.
        if (all.find("\xEF\xBF\xBD") != std::string_view::npos) {
            error = "the term \"" + std::string(term) + "\" holds bytes that are not GBK text";
            return false;
        }
        bool carried = true;
        switch (format) {
            case Format::kTsv:
                carried = detail::AppendTsv(out, term, meaning, explanation);
                break;
            case Format::kCsv:
                carried = detail::AppendCsv(out, term, meaning, explanation);
                break;
            case Format::kTbx:
                carried = detail::AppendTbx(out, done + 1, term, meaning, explanation);
                break;
            case Format::kTbxV2:
                carried = detail::AppendTbxV2(out, done + 1, term, meaning, explanation);
                break;
        }
        if (!carried) {
            error = "the term \"" + std::string(term) + "\" holds " +
                    (format == Format::kTsv
                         ? "a line break other than CR LF, which tsv cannot hold (csv and tbx can)"
                         : "a control character that XML cannot carry");
            return false;
        }
        if (progress) {
            progress(++done);
        } else {
            ++done;
        }
        if (output && out.size() >= kPiece) {
            if (!output(out)) {
                return false;
            }
            out.clear();
        }
    }
    if (format == Format::kTbx) {
        detail::EndTbx(out);
    } else if (format == Format::kTbxV2) {
        detail::EndTbxV2(out);
    }
    return !output || output(out);
}

}  // namespace

std::optional<Format> FormatFromName(std::string_view name) {
    if (name == "tsv") {
        return Format::kTsv;
    }
    if (name == "csv") {
        return Format::kCsv;
    }
    if (name == "tbx") {
        return Format::kTbx;
    }
    if (name == "tbx-v2") {
        return Format::kTbxV2;
    }
    return std::nullopt;
}

std::optional<Columns> ParseColumns(std::string_view columnList, std::string& problem) {
    Columns columns;
    int position = 0;
    size_t start = 0;
    while (true) {
        const size_t comma = columnList.find(',', start);
        const std::string_view name =
            columnList.substr(start, comma == columnList.npos ? comma : comma - start);
        int* field = name == "term"          ? &columns.term
                     : name == "meaning"     ? &columns.meaning
                     : name == "explanation" ? &columns.explanation
                                             : nullptr;
        if (field == nullptr && name != "-" && !name.empty()) {
            problem =
                "--columns knows term, meaning, explanation and - (not " + std::string(name) + ")";
            return std::nullopt;
        }
        if (field != nullptr && *field >= 0) {
            problem = "--columns names " + std::string(name) + " twice";
            return std::nullopt;
        }
        if (field != nullptr) {
            *field = position;
        }
        if (comma == columnList.npos) {
            break;
        }
        start = comma + 1;
        ++position;
    }
    if (columns.term < 0 || columns.meaning < 0) {
        problem = "--columns must name the term and the meaning columns";
        return std::nullopt;
    }
    return columns;
}

ReadResult Read(Format format, std::string_view text, const ReadOptions& options,
                const std::function<void(size_t done)>& progress) {
    ReadResult result;
    std::string& storage = *result.storage;
    // GBK never takes more bytes than the UTF-8 it comes from, and each entry's separators
    // replace its delimiters: one reservation holds every entry.
    storage.reserve(text.size());
    PreferHugePages(storage.data(), storage.capacity());
    // Grown a block at a time: the number of entries is known only at the end, and a vector's
    // doublings would copy and touch twice the memory.
    std::deque<Accepted> accepted;
    std::vector<std::pair<int, std::string>> refused;
    std::string scratch;
    // A large file pays for learning the conversion table once; a small one uses the codec.
    const gbk::Utf8ToGbkTable* table =
        text.size() > (size_t{1} << 20) ? &gbk::Utf8ToGbkTable::Get() : nullptr;
    const auto convert = [table](std::string_view utf8, std::string& out) {
        return table != nullptr ? table->AppendExact(utf8, out)
                                : gbk::AppendFromUtf8Exact(utf8, out);
    };
    const EntrySink sink = [&](const RawEntry& raw) {
        Accepted entry{raw.number, storage.size(), 0, 0, 0};
        const bool converted = AppendGbk(raw, convert, scratch, storage, entry);
        const TermRecordView record = ViewOf(entry, storage);
        if (std::optional<std::string> problem = Problem(format, result, raw, converted, record)) {
            refused.emplace_back(raw.number, std::move(*problem));
            storage.resize(entry.offset);
            return;
        }
        accepted.push_back(entry);
        if (progress) {
            progress(raw.end);
        }
    };
    switch (format) {
        case Format::kTsv:
            detail::ParseTsv(text, options, result, sink);
            break;
        case Format::kCsv:
            detail::ParseCsv(text, options, result, sink);
            break;
        case Format::kTbx:
        case Format::kTbxV2:
            detail::ParseTbx(text, result, sink);
            break;
    }
    // Each term once: the first entry of a term is kept, later ones are refused.
    TermIndex seen;
    seen.Reserve(accepted.size());
    result.entries.reserve(accepted.size());
    const auto termOf = [&result](uint32_t i) { return result.entries[i].record.term; };
    for (const Accepted& entry : accepted) {
        const TermRecordView record = ViewOf(entry, storage);
        const auto next = static_cast<uint32_t>(result.entries.size());
        const auto [first, inserted] = seen.Insert(record.term, next, termOf);
        if (inserted) {
            result.entries.push_back(Entry{entry.number, record});
            continue;
        }
        refused.emplace_back(entry.number, result.Place(entry.number) + ": the term \"" +
                                               gbk::ToUtf8(record.term) + "\" already stands in " +
                                               result.Place(result.entries[first].number));
    }
    std::stable_sort(refused.begin(), refused.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [number, message] : refused) {
        result.errors.push_back(std::move(message));
    }
    return result;
}

std::vector<TermRecordView> ViewsOf(const std::vector<CTermRecord>& records) {
    std::vector<TermRecordView> views;
    views.reserve(records.size());
    for (const CTermRecord& record : records) {
        views.push_back(record.View());
    }
    return views;
}

bool Write(Format format, const std::vector<TermRecordView>& records, std::string& out,
           std::string& error, const std::function<void(size_t done)>& progress) {
    return WriteTo(format, records, out, {}, error, progress);
}

bool Write(Format format, const std::vector<TermRecordView>& records, const Output& output,
           std::string& error, const std::function<void(size_t done)>& progress) {
    std::string piece;
    return WriteTo(format, records, piece, output, error, progress);
}

}  // namespace glossary_exchange
