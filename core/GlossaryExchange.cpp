#include "core/GlossaryExchange.h"

#include <algorithm>

#include "core/TermRecordCheck.h"
#include "util/GbkText.h"

namespace glossary_exchange {
namespace {

std::string Where(Format format, int number) {
    return Place(format, number) + ": ";
}

// The checks of the editing windows, on a UTF-8 entry; the record in GBK when it passes.
std::optional<CTermRecord> Checked(Format format, const RawEntry& raw,
                                   std::vector<std::pair<int, std::string>>& errors) {
    CTermRecord record;
    if (!gbk::FromUtf8Exact(raw.term, record.m_cs_term) ||
        !gbk::FromUtf8Exact(raw.meaning, record.m_cs_meaning) ||
        !gbk::FromUtf8Exact(raw.explanation, record.m_cs_explanation)) {
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
    // Each term once: sorted by term, a repeat stands right after the first one.
    std::vector<size_t> order(result.entries.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    const auto termOf = [&result](size_t i) -> const std::string& {
        return result.entries[i].record.m_cs_term;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&termOf](size_t a, size_t b) { return termOf(a) < termOf(b); });
    std::vector<bool> repeated(order.size(), false);
    size_t first = 0;  // where the run of the current term starts in `order`
    for (size_t i = 1; i < order.size(); ++i) {
        if (termOf(order[i]) != termOf(order[first])) {
            first = i;
        } else {
            repeated[order[i]] = true;
            const Entry& entry = result.entries[order[i]];
            refused.emplace_back(entry.number,
                                 Where(format, entry.number) + "the term \"" +
                                     gbk::ToUtf8(entry.record.m_cs_term) + "\" already stands in " +
                                     Place(format, result.entries[order[first]].number));
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
