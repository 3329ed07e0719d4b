#include "core/FileIo.h"
#include "core/FileStatusText.h"
#include "core/Glossary.h"
#include "core/GlossaryExchange.h"
#include "tools/termix-cli/CliCommands.h"
#include "tools/termix-cli/Commands.h"
#include "util/GbkText.h"

namespace cli {
namespace {

using glossary_exchange::Format;

std::optional<Format> FormatOption(const Context& ctx, const Arguments& a) {
    const auto format = a.options.find("--format");
    if (format == a.options.end()) {
        Usage(ctx, "--format tsv|csv|tbx is needed");
        return std::nullopt;
    }
    std::optional<Format> parsed = glossary_exchange::FormatFromName(format->second);
    if (!parsed) {
        Usage(ctx, "unknown format " + format->second + " (tsv, csv or tbx)");
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
    std::string text;
    std::string error;
    {
        Progress progress(ctx, "exporting", records.size());
        if (!glossary_exchange::Write(*format, records, text, error,
                                      [&progress](size_t done) { progress.Update(done); })) {
            std::fprintf(ctx.err, "termix-cli: cannot export: %s\n", error.c_str());
            return kUsageOrFileError;
        }
    }
    const auto output = a.options.find("--output");
    if (output == a.options.end()) {
        std::fwrite(text.data(), 1, text.size(), ctx.out);
        return kFound;
    }
    if (const fileio::Status status = fileio::ReplaceFile(ArgPath(output->second), text);
        !status.ok()) {
        std::fprintf(ctx.err, "termix-cli: cannot write %s: %s\n", output->second.c_str(),
                     gbk::ToUtf8(ReasonText(status)).c_str());
        return kUsageOrFileError;
    }
    return kFound;
}

int ImportInto(const Context& ctx, const std::vector<std::string>& args) {
    Arguments a;
    std::string problem;
    if (!ParseArguments(args, {"--format", "--on-conflict"}, {}, a, problem) ||
        a.operands.size() != 1) {
        return Usage(ctx, problem.empty() ? "import takes one file" : problem);
    }
    const std::optional<Format> format = FormatOption(ctx, a);
    if (!format) {
        return kUsageOrFileError;
    }
    const std::string policy =
        a.options.count("--on-conflict") != 0 ? a.options.at("--on-conflict") : "fail";
    if (policy != "fail" && policy != "keep" && policy != "replace") {
        return Usage(ctx, "--on-conflict takes fail, keep or replace");
    }
    const std::string& source = a.operands[0];
    std::string text;
    if (!ReadTextFile(ArgPath(source), text)) {
        std::fprintf(ctx.err, "termix-cli: cannot read %s\n", source.c_str());
        return kUsageOrFileError;
    }
    const glossary_exchange::ReadResult read = glossary_exchange::Read(*format, text);
    for (const std::string& error : read.errors) {
        std::fprintf(ctx.err, "%s: %s\n", source.c_str(), error.c_str());
    }
    if (!read.errors.empty()) {
        std::fprintf(ctx.err, "termix-cli: nothing imported\n");
        return kUsageOrFileError;
    }
    if (read.ignoredElements > 0) {
        std::fprintf(ctx.err, "termix-cli: note: %zu elements of %s carry nothing Termix keeps\n",
                     read.ignoredElements, source.c_str());
    }
    const std::optional<std::filesystem::path> path = GlossaryPath(ctx);
    if (!path || !MayWriteGlossary(ctx, *path)) {
        return !path ? kUsageOrFileError : kProgramRunning;
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
                         source.c_str(), glossary_exchange::Place(*format, entry->number).c_str(),
                         gbk::ToUtf8(entry->record.m_cs_term).c_str());
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
    {
        Progress progress(ctx, "importing", read.entries.size());
        for (size_t i = 0; i < read.entries.size(); ++i) {
            progress.Update(i + 1);
            const CTermRecord& record = read.entries[i].record;
            if (presence[i] == CGlossary::Presence::kAbsent) {
                glossary.Add(record);
                ++added;
            } else if (presence[i] == CGlossary::Presence::kSame) {
                ++unchanged;
            } else if (policy == "keep") {
                ++kept;
            } else {
                glossary.Update(record);
                ++replaced;
            }
        }
    }
    if (added + replaced > 0) {
        glossary.Save();
    }
    std::fprintf(ctx.out, "imported %zu new terms, replaced %zu, kept %zu, unchanged %zu\n", added,
                 replaced, kept, unchanged);
    return kFound;
}

}  // namespace cli
