#include "tools/termix-cli/CliCommands.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>

#include "controls/ReportRowModel.h"
#include "core/DamagedFile.h"
#include "core/FileIo.h"
#include "core/FileStatusText.h"
#include "core/Glossary.h"
#include "core/GlossaryScan.h"
#include "core/GlossaryTsv.h"
#include "core/PairFile.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace cli {
namespace {

const char kUsage[] =
    "usage: termix-cli [--file PATH] COMMAND\n"
    "  all                 every term\n"
    "  letter L            the terms beginning with the letter L, in either case\n"
    "  nonletter           the terms not beginning with an English letter\n"
    "  search KEYWORD      the terms containing KEYWORD, in either case\n"
    "  show TERM           the term, its meaning and explanation (exact, case-sensitive)\n"
    "  check               parse the file and report where parsing stopped\n"
    "  import TSV OUTPUT   build a glossary file from a UTF-8 glossary source\n"
    "  encode INPUT OUTPUT convert a UTF-8 text file to GBK\n"
    "Without --file the glossary next to this program is used.\n";

struct Context {
    std::FILE* out;
    std::FILE* err;
};

int Usage(const Context& ctx, const std::string& problem) {
    std::fprintf(ctx.err, "termix-cli: %s\n%s", problem.c_str(), kUsage);
    return kUsageOrFileError;
}

void PrintUtf8(std::FILE* stream, std::string_view gbkText) {
    const std::string utf8 = gbk::ToUtf8(gbkText);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

// Paths on the command line are the file system's own bytes.
bool ReadTextFile(const std::filesystem::path& path, std::string& content) {
    return fileio::ReadWholeFile(path, content).ok();
}

std::string Shown(const std::filesystem::path& path) {
    return gbk::ToUtf8(PathText(path));
}

// Says on stderr which files read as damaged; the glossary itself was read as far as it could.
void ReportDamagedFiles(const Context& ctx) {
    for (const DamagedFile& damaged : TakeDamagedFileReports()) {
        std::fprintf(ctx.err,
                     "termix-cli: %s is damaged: reading stopped at byte %zu after %zu records",
                     Shown(damaged.path).c_str(), damaged.stopOffset, damaged.records);
        if (damaged.copy.empty()) {
            std::fputs("; no copy of it could be made\n", ctx.err);
        } else {
            std::fprintf(ctx.err, "; the whole file is kept as %s\n", Shown(damaged.copy).c_str());
        }
    }
}

void PrintRow(const Context& ctx, std::string_view term, std::string_view meaning) {
    PrintUtf8(ctx.out, term);
    std::fputc('\t', ctx.out);
    PrintUtf8(ctx.out, meaning);
    std::fputc('\n', ctx.out);
}

int PrintRows(const Context& ctx, const CReportRowModel& rows, long count) {
    for (int i = 0; i < rows.GetRowCount(); ++i) {
        PrintRow(ctx, rows.CellText(i, 0), rows.CellText(i, 1));
    }
    return count > 0 ? kFound : kNotFound;
}

int PrintRecord(const Context& ctx, std::string_view term, std::string_view meaning,
                std::string_view explanation) {
    std::fputs("term: ", ctx.out);
    PrintUtf8(ctx.out, term);
    std::fputs("\nmeaning: ", ctx.out);
    PrintUtf8(ctx.out, meaning);
    std::fputs("\nexplanation: ", ctx.out);
    PrintUtf8(ctx.out, explanation);
    std::fputc('\n', ctx.out);
    return kFound;
}

// show and search in one pass over the file, without loading the glossary (GlossaryScan.h);
// nothing when the glossary itself must answer.
std::optional<int> ScanQuery(const Context& ctx, const std::filesystem::path& path, bool show,
                             const std::string& operand) {
    GlossaryScan scan;
    if (!scan.Run(path,
                  show ? GlossaryScan::Exactly(operand) : GlossaryScan::Containing(operand))) {
        return std::nullopt;
    }
    const std::vector<GlossaryScan::Entry>& entries = scan.Entries();
    if (show) {
        ReportDamagedFiles(ctx);
        return entries.empty()
                   ? kNotFound
                   : PrintRecord(ctx, entries[0].term, entries[0].meaning, entries[0].explanation);
    }
    // A list splits its rows at the row separator: such rows are the list's to show.
    for (const GlossaryScan::Entry& entry : entries) {
        if (entry.term.find(IReportList::kRowSeparator) != std::string_view::npos ||
            entry.meaning.find(IReportList::kRowSeparator) != std::string_view::npos) {
            return std::nullopt;
        }
    }
    ReportDamagedFiles(ctx);
    for (const GlossaryScan::Entry& entry : entries) {
        PrintRow(ctx, entry.term, entry.meaning);
    }
    return entries.empty() ? kNotFound : kFound;
}

int Check(const Context& ctx, const std::filesystem::path& path) {
    Qm_conf_solitude_File file(path, "#", "\r\n");
    file.Discard();
    std::fprintf(ctx.out, "records: %zu\n", file.ParsedRecords());
    if (file.StopOffset() >= 0) {
        std::fprintf(ctx.out, "stopped at byte: %lld\n", file.StopOffset());
        return kParseStopped;
    }
    return kFound;
}

int Import(const Context& ctx, const std::string& tsvPath, const std::string& outPath) {
    std::string source;
    if (!ReadTextFile(tsvPath, source)) {
        std::fprintf(ctx.err, "termix-cli: cannot read %s\n", tsvPath.c_str());
        return kUsageOrFileError;
    }
    const glossary_tsv::Result parsed = glossary_tsv::Parse(source);
    for (const std::string& error : parsed.errors) {
        std::fprintf(ctx.err, "%s: %s\n", tsvPath.c_str(), error.c_str());
    }
    if (!parsed.errors.empty()) {
        return kUsageOrFileError;
    }
    // Build the file through the glossary itself, starting from an empty one.
    CGlossary glossary{std::filesystem::path(outPath)};
    glossary.RemoveAll();
    for (const glossary_tsv::Entry& entry : parsed.entries) {
        glossary.Add(entry.record);
    }
    glossary.Save();
    std::fprintf(ctx.out, "imported %zu terms into %s\n", parsed.entries.size(), outPath.c_str());
    return kFound;
}

int Encode(const Context& ctx, const std::string& inPath, const std::string& outPath) {
    std::string source;
    if (!ReadTextFile(inPath, source)) {
        std::fprintf(ctx.err, "termix-cli: cannot read %s\n", inPath.c_str());
        return kUsageOrFileError;
    }
    if (!gbk::IsRepresentable(source)) {
        std::fprintf(ctx.err, "termix-cli: %s holds characters GBK cannot represent\n",
                     inPath.c_str());
        return kUsageOrFileError;
    }
    if (const fileio::Status status = fileio::ReplaceFile(outPath, gbk::FromUtf8(source));
        !status.ok()) {
        std::fprintf(ctx.err, "termix-cli: cannot write %s: %s\n", outPath.c_str(),
                     gbk::ToUtf8(ReasonText(status)).c_str());
        return kUsageOrFileError;
    }
    return kFound;
}

// The glossary the query commands read: --file, or the one next to the executable. A file named
// with --file must exist; the program's own glossary may not exist yet (it is then empty).
std::optional<std::filesystem::path> GlossaryPath(const Context& ctx,
                                                  const std::optional<std::string>& file) {
    if (!file) {
        return CGlossary::DefaultPath();
    }
    std::error_code ec;
    if (!std::filesystem::exists(*file, ec)) {
        std::fprintf(ctx.err, "termix-cli: cannot open %s: %s\n", file->c_str(),
                     ec ? ec.message().c_str() : "no such file");
        return std::nullopt;
    }
    return std::filesystem::path(*file);
}

int Query(const Context& ctx, const std::filesystem::path& path, const std::string& command,
          const std::vector<std::string>& operands) {
    const auto need = [&](size_t n) { return operands.size() == n; };
    if (command == "check") {
        return need(0) ? Check(ctx, path) : Usage(ctx, "check takes no operand");
    }
    if ((command == "show" || command == "search") && need(1)) {
        if (const std::optional<int> code =
                ScanQuery(ctx, path, command == "show", gbk::FromUtf8(operands[0]))) {
            return *code;
        }
    }
    CGlossary glossary(path);
    ReportDamagedFiles(ctx);
    CReportRowModel rows;
    rows.AddColumnsFromSpec(GBK("术语|汉意"), 2);
    if (command == "all" && need(0)) {
        return PrintRows(ctx, rows, glossary.ListAll(rows));
    }
    if (command == "nonletter" && need(0)) {
        return PrintRows(ctx, rows, glossary.ListNonLetter(rows));
    }
    if (command == "letter" && need(1)) {
        if (operands[0].size() != 1) {
            return Usage(ctx, "letter takes one character");
        }
        return PrintRows(ctx, rows, glossary.ListByFirstLetter(rows, operands[0][0]));
    }
    if (command == "search" && need(1)) {
        return PrintRows(ctx, rows, glossary.ListByKeyword(rows, gbk::FromUtf8(operands[0])));
    }
    if (command == "show" && need(1)) {
        CTermRecord record;
        if (!glossary.Get(gbk::FromUtf8(operands[0]), record)) {
            return kNotFound;
        }
        return PrintRecord(ctx, record.m_cs_term, record.m_cs_meaning, record.m_cs_explanation);
    }
    return Usage(ctx, "unknown command or wrong number of operands: " + command);
}

}  // namespace

int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    const Context ctx{out, err};
    std::optional<std::string> file;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--file") {
            if (i + 1 >= args.size()) {
                return Usage(ctx, "--file needs a path");
            }
            file = args[++i];
        } else if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kUsage, out);
            return kFound;
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.empty()) {
        return Usage(ctx, "no command given");
    }
    const std::string command = rest.front();
    const std::vector<std::string> operands(rest.begin() + 1, rest.end());
    try {
        if (command == "import" || command == "encode") {
            if (operands.size() != 2 || file) {
                return Usage(ctx, command + " takes an input and an output path");
            }
            return command == "import" ? Import(ctx, operands[0], operands[1])
                                       : Encode(ctx, operands[0], operands[1]);
        }
        const std::optional<std::filesystem::path> path = GlossaryPath(ctx, file);
        if (!path) {
            return kUsageOrFileError;
        }
        return Query(ctx, *path, command, operands);
    } catch (const Qm_conf_solitude_Exception& e) {
        PrintUtf8(err, e.m_message);
        std::fputc('\n', err);
        return kUsageOrFileError;
    }
}

}  // namespace cli
