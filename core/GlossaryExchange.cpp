#include "core/GlossaryExchange.h"

#include <unordered_map>

#include "core/TermRecordCheck.h"
#include "util/GbkText.h"

namespace glossary_exchange {
namespace {

std::string Where(Format format, int number) {
    return Place(format, number) + ": ";
}

// The checks of the editing windows, on a UTF-8 entry; the record in GBK when it passes.
std::optional<CTermRecord> Checked(Format format, const RawEntry& raw,
                                   std::vector<std::string>& errors) {
    auto Where = [format](int number) { return ::glossary_exchange::Where(format, number); };
    const std::string* fields[] = {&raw.term, &raw.meaning, &raw.explanation};
    for (const std::string* field : fields) {
        if (!gbk::IsRepresentable(*field)) {
            errors.push_back(Where(raw.number) + "a field holds characters GBK cannot represent");
            return std::nullopt;
        }
    }
    if (raw.term.empty() || raw.meaning.empty()) {
        errors.push_back(Where(raw.number) + "the term and the meaning must not be empty");
        return std::nullopt;
    }
    CTermRecord record(gbk::FromUtf8(raw.term), gbk::FromUtf8(raw.meaning),
                       gbk::FromUtf8(raw.explanation));
    if (const TermRecordProblem problem = CheckTermRecord(record); !problem.ok()) {
        errors.push_back(Where(raw.number) + gbk::ToUtf8(problem.message));
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
    std::unordered_map<std::string, int> seen;
    for (const RawEntry& entry : raw) {
        std::optional<CTermRecord> record = Checked(format, entry, result.errors);
        if (!record) {
            continue;
        }
        const auto [it, inserted] = seen.emplace(record->m_cs_term, entry.number);
        if (!inserted) {
            result.errors.push_back(Where(format, entry.number) + "the term \"" + entry.term +
                                    "\" already stands in " + Place(format, it->second));
            continue;
        }
        result.entries.push_back(Entry{entry.number, std::move(*record)});
    }
    return result;
}

bool Write(Format format, const std::vector<CTermRecord>& records, std::string& out,
           std::string& error, const std::function<void(size_t done)>& progress) {
    std::vector<RawEntry> entries;
    entries.reserve(records.size());
    for (const CTermRecord& record : records) {
        RawEntry entry{0, gbk::ToUtf8(record.m_cs_term), gbk::ToUtf8(record.m_cs_meaning),
                       gbk::ToUtf8(record.m_cs_explanation)};
        // Bytes that are not GBK text come out as U+FFFD, which no import could turn back.
        for (const std::string* field : {&entry.term, &entry.meaning, &entry.explanation}) {
            if (field->find("\xEF\xBF\xBD") != std::string::npos) {
                error = "the term \"" + entry.term + "\" holds bytes that are not GBK text";
                return false;
            }
        }
        entries.push_back(std::move(entry));
        if (progress) {
            progress(entries.size());
        }
    }
    switch (format) {
        case Format::kTsv:
            return detail::WriteTsv(entries, out, error);
        case Format::kCsv:
            detail::WriteCsv(entries, out);
            return true;
        case Format::kTbx:
            return detail::WriteTbx(entries, out, error);
    }
    return false;
}

}  // namespace glossary_exchange
