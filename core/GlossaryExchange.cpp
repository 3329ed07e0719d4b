#include "core/GlossaryExchange.h"

#include <algorithm>

#include "core/TermIndex.h"
#include "core/TermRecordCheck.h"
#include "util/GbkText.h"

namespace glossary_exchange {
namespace {

std::string Where(Format format, int number) {
    return Place(format, number) + ": ";
}

// The three fields in GBK; false when a character had to be replaced. Fields without the
// separator byte (all but the refused ones) go through one conversion together.
bool ToGbk(const RawEntry& raw, CTermRecord& record) {
    const char separator = CTermRecord::kSeparator;
    if (raw.term.find(separator) != std::string::npos ||
        raw.meaning.find(separator) != std::string::npos ||
        raw.explanation.find(separator) != std::string::npos) {
        return gbk::FromUtf8Exact(raw.term, record.m_cs_term) &&
               gbk::FromUtf8Exact(raw.meaning, record.m_cs_meaning) &&
               gbk::FromUtf8Exact(raw.explanation, record.m_cs_explanation);
    }
    std::string joined;
    joined.reserve(raw.term.size() + raw.meaning.size() + raw.explanation.size() + 2);
    joined.append(raw.term).push_back(separator);
    joined.append(raw.meaning).push_back(separator);
    joined.append(raw.explanation);
    std::string gbkText;
    if (!gbk::FromUtf8Exact(joined, gbkText)) {
        return false;
    }
    const size_t first = gbkText.find(separator);
    const size_t second = gbkText.find(separator, first + 1);
    record.m_cs_term.assign(gbkText, 0, first);
    record.m_cs_meaning.assign(gbkText, first + 1, second - first - 1);
    record.m_cs_explanation.assign(gbkText, second + 1);
    return true;
}

// The checks of the editing windows, on a UTF-8 entry; the record in GBK when it passes.
std::optional<CTermRecord> Checked(Format format, const RawEntry& raw,
                                   std::vector<std::pair<int, std::string>>& errors) {
    CTermRecord record;
    if (!ToGbk(raw, record)) {
        errors.emplace_back(raw.number, Where(format, raw.number) +
                                            "a field holds characters GBK cannot represent");
        return std::nullopt;
    }
    if (raw.term.empty() || raw.meaning.empty()) {
        errors.emplace_back(
            raw.number, Where(format, raw.number) + "the term and the meaning must not be empty");
        return std::nullopt;
    }
    if (const TermRecordProblem problem = CheckTermRecord(record); !problem.ok()) {
        errors.emplace_back(raw.number, Where(format, raw.number) + gbk::ToUtf8(problem.message));
        return std::nullopt;
    }
    return record;
}

}  // namespace

std::string Place(Format format, int number) {
    const char* unit = format == Format::kTsv   ? "line "
                       : format == Format::kCsv ? "record "
                                                : "conceptEntry ";
    return unit + std::to_string(number);
}

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
    return std::nullopt;
}

ReadResult Read(Format format, std::string_view text) {
    ReadResult result;
    std::vector<RawEntry> raw;
    switch (format) {
        case Format::kTsv:
            raw = detail::ParseTsv(text, result.errors);
            break;
        case Format::kCsv:
            raw = detail::ParseCsv(text, result.errors);
            break;
        case Format::kTbx:
            raw = detail::ParseTbx(text, result.errors, result.ignoredElements);
            break;
    }
    std::vector<std::pair<int, std::string>> refused;
    result.entries.reserve(raw.size());
    for (const RawEntry& entry : raw) {
        if (std::optional<CTermRecord> record = Checked(format, entry, refused)) {
            result.entries.push_back(Entry{entry.number, std::move(*record)});
        }
    }
    // Each term once: the first entry of a term is kept, later ones are refused.
    TermIndex seen;
    seen.Reserve(result.entries.size());
    std::vector<bool> repeated(result.entries.size(), false);
    const auto termOf = [&result](uint32_t i) -> std::string_view {
        return result.entries[i].record.m_cs_term;
    };
    for (uint32_t i = 0; i < result.entries.size(); ++i) {
        const auto [first, inserted] = seen.Insert(termOf(i), i, termOf);
        if (!inserted) {
            repeated[i] = true;
            const Entry& entry = result.entries[i];
            refused.emplace_back(entry.number, Where(format, entry.number) + "the term \"" +
                                                   gbk::ToUtf8(entry.record.m_cs_term) +
                                                   "\" already stands in " +
                                                   Place(format, result.entries[first].number));
        }
    }
    if (!refused.empty()) {
        std::vector<Entry> kept;
        for (size_t i = 0; i < result.entries.size(); ++i) {
            if (!repeated[i]) {
                kept.push_back(std::move(result.entries[i]));
            }
        }
        result.entries = std::move(kept);
        std::stable_sort(refused.begin(), refused.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [number, message] : refused) {
            result.errors.push_back(std::move(message));
        }
    }
    return result;
}

std::vector<TermRecordView> ViewsOf(const std::vector<CTermRecord>& records) {
    std::vector<TermRecordView> views;
    views.reserve(records.size());
    for (const CTermRecord& record : records) {
        views.push_back({record.m_cs_term, record.m_cs_meaning, record.m_cs_explanation});
    }
    return views;
}

bool Write(Format format, const std::vector<TermRecordView>& records, std::string& out,
           std::string& error, const std::function<void(size_t done)>& progress) {
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
        utf8 = gbk::ToUtf8(gbkText);
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
    }
    if (format == Format::kTbx) {
        detail::EndTbx(out);
    }
    return true;
}

}  // namespace glossary_exchange
