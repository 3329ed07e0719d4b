#include "core/Glossary.h"
#include "core/exchange/GlossaryExchange.h"
#include "core/fileio/FileIo.h"
#include "core/fileio/FileStatusText.h"
#include "core/fileio/FileView.h"
#include "tools/termix-cli/Commands.h"
#include "util/GbkText.h"

namespace cli {
namespace {

using glossary_exchange::Format;

std::optional<Format> FormatOption(const Context& ctx, const Arguments& a) {
    const auto format = a.options.find("--format");
    if (format == a.options.end()) {
        Usage(ctx, "--format tsv|csv|tbx|tbx-v2 is needed");
        return std::nullopt;
    }
    std::optional<Format> parsed = glossary_exchange::FormatFromName(format->second);
    if (!parsed) {
        Usage(ctx, "unknown format " + format->second + " (tsv, csv, tbx or tbx-v2)");
    }
    return parsed;
}

}  // namespace

int Export(const Context& ctx, const std::vector<std::string>& args) {
    Arguments a;
    std::string problem;
    if (!ParseArguments(args, {"--format", "--output"}, {}, a, problem) || !a.operands.empty()) {
        return Usage(ctx, problem.empty() ? "export takes options only" : problem);
    }
    const std::optional<Format> format = FormatOption(ctx, a);
    const std::optional<std::filesystem::path> path = format ? GlossaryPath(ctx) : std::nullopt;
    if (!path) {
        return kUsageOrFileError;
    }
    const CGlossary glossary(*path);
    ReportDamagedFiles(ctx);
    const std::vector<TermRecordView> records = glossary.SortedViews();
    std::string error;
    Progress progress(ctx, "exporting", records.size());
    const auto progressed = [&progress](size_t done) { progress.Update(done); };
    const auto output = a.options.find("--output");
    if (output == a.options.end()) {
        // Standard output gets the text only once it is whole: nothing when a record fails.
        std::string text;
        if (!glossary_exchange::Write(*format, records, text, error, progressed)) {
            std::fprintf(ctx.err, "termix-cli: cannot export: %s\n", error.c_str());
            return kUsageOrFileError;
        }
        std::fwrite(text.data(), 1, text.size(), ctx.out);
        return kFound;
    }
    // A file is written piece by piece into the save's temporary file, which replaces the
    // target only when every record was written.
    const fileio::Status status =
        fileio::ReplaceFileWith(ArgPath(output->second), [&](const fileio::ChunkWriter& write) {
            return glossary_exchange::Write(*format, records, write, error, progressed);
        });
    if (!error.empty()) {
        std::fprintf(ctx.err, "termix-cli: cannot export: %s\n", error.c_str());
        return kUsageOrFileError;
    }
    if (!status.ok()) {
        std::fprintf(ctx.err, "termix-cli: cannot write %s: %s\n", output->second.c_str(),
                     gbk::ToUtf8(ReasonText(status)).c_str());
        return kUsageOrFileError;
    }
    return kFound;
}

int ImportInto(const Context& ctx, const std::vector<std::string>& args) {
    Arguments a;
    std::string problem;
    if (!ParseArguments(args, {"--format", "--on-conflict", "--columns"}, {}, a, problem) ||
        a.operands.size() != 1) {
        return Usage(ctx, problem.empty() ? "import takes one file" : problem);
    }
    const std::optional<Format> format = FormatOption(ctx, a);
    if (!format) {
        return kUsageOrFileError;
    }
    glossary_exchange::ReadOptions options;
    if (const auto columns = a.options.find("--columns"); columns != a.options.end()) {
        if (*format != Format::kTsv && *format != Format::kCsv) {
            return Usage(ctx, "--columns is for tsv and csv");
        }
        options.columns = glossary_exchange::ParseColumns(columns->second, problem);
        if (!options.columns) {
            return Usage(ctx, problem);
        }
    }
    const std::string policy =
        a.options.count("--on-conflict") != 0 ? a.options.at("--on-conflict") : "fail";
    if (policy != "fail" && policy != "keep" && policy != "replace") {
        return Usage(ctx, "--on-conflict takes fail, keep or replace");
    }
    const std::string& source = a.operands[0];
    glossary_exchange::ReadResult read;
    {
        // The file is mapped rather than copied, and goes once it is read: the entries hold
        // their own text.
        FileView file;
        if (!file.Open(ArgPath(source)).ok()) {
            std::fprintf(ctx.err, "termix-cli: cannot read %s\n", source.c_str());
            return kUsageOrFileError;
        }
        const std::string_view text = file.Bytes();
        // By bytes read: the number of entries is known only at the end. 5 MB is about 50,000
        // entries.
        Progress progress(ctx, "importing", text.size(), 5'000'000);
        read = glossary_exchange::Read(*format, text, options,
                                       [&progress](size_t done) { progress.Update(done); });
    }
    for (const std::string& error : read.errors) {
        std::fprintf(ctx.err, "%s: %s\n", source.c_str(), error.c_str());
    }
    if (!read.errors.empty()) {
        std::fprintf(ctx.err, "termix-cli: nothing imported\n");
        return kUsageOrFileError;
    }
    for (const std::string& note : read.notes) {
        std::fprintf(ctx.err, "termix-cli: note: %s: %s\n", source.c_str(), note.c_str());
    }
    if (read.ignoredElements > 0) {
        std::fprintf(ctx.err, "termix-cli: note: %zu elements of %s carry nothing Termix keeps\n",
                     read.ignoredElements, source.c_str());
    }
    const std::optional<std::filesystem::path> path = GlossaryPath(ctx);
    if (!path || !MayWriteGlossary(ctx, *path)) {
        return !path ? kUsageOrFileError : kProgramRunning;
    }
    fileio::SaveTurn turn;
    if (!TakeEditTurn(ctx, *path, turn)) {
        return kUsageOrFileError;
    }
    CGlossary glossary(*path);
    ReportDamagedFiles(ctx);
    std::vector<CGlossary::Presence> presence;
    presence.reserve(read.entries.size());
    std::vector<const glossary_exchange::Entry*> conflicts;
    for (const glossary_exchange::Entry& entry : read.entries) {
        presence.push_back(glossary.Match(entry.record));
        if (presence.back() == CGlossary::Presence::kDifferent) {
            conflicts.push_back(&entry);
        }
    }
    if (!conflicts.empty() && policy == "fail") {
        for (const glossary_exchange::Entry* entry : conflicts) {
            std::fprintf(ctx.err, "%s: %s: \"%s\" is already in the glossary with other content\n",
                         source.c_str(), read.Place(entry->number).c_str(),
                         gbk::ToUtf8(entry->record.term).c_str());
        }
        std::fprintf(ctx.err,
                     "termix-cli: nothing imported: %zu conflicts (--on-conflict keep or replace "
                     "decides them)\n",
                     conflicts.size());
        return kNotFound;
    }
    size_t added = 0;
    size_t replaced = 0;
    size_t kept = 0;
    size_t unchanged = 0;
    std::vector<TermRecordView> changes;
    changes.reserve(read.entries.size());
    for (size_t i = 0; i < read.entries.size(); ++i) {
        if (presence[i] == CGlossary::Presence::kSame) {
            ++unchanged;
        } else if (presence[i] == CGlossary::Presence::kDifferent && policy == "keep") {
            ++kept;
        } else {
            ++(presence[i] == CGlossary::Presence::kAbsent ? added : replaced);
            changes.push_back(read.entries[i].record);
        }
    }
    glossary.AddAll(changes, std::move(read.storage));
    if (added + replaced > 0) {
        glossary.Save();
    }
    std::fprintf(ctx.out, "imported %zu new terms, replaced %zu, kept %zu, unchanged %zu\n", added,
                 replaced, kept, unchanged);
    return kFound;
}

}  // namespace cli
