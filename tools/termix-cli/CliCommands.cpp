#include "tools/termix-cli/CliCommands.h"

#include <filesystem>
#include <optional>

#include "core/DataLocation.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "core/exchange/GlossaryExchange.h"
#include "core/fileio/FileIo.h"
#include "core/fileio/FileStatusText.h"
#include "tools/termix-cli/Commands.h"
#include "util/GbkText.h"

namespace cli {
namespace {

int Where(const Context& ctx) {
    const DataLocation location = GetDataLocation();
    std::fprintf(ctx.out, "mode: %s\nsettings: %s\nglossary: %s\nhistory: %s\n",
                 location.mode == DataMode::kPortable ? "portable" : "installed",
                 Shown(location.SettingsFile()).c_str(), Shown(location.GlossaryFile()).c_str(),
                 Shown(location.HistoryFile()).c_str());
    return kFound;
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
    if (!ReadTextFile(ArgPath(tsvPath), source)) {
        std::fprintf(ctx.err, "termix-cli: cannot read %s\n", tsvPath.c_str());
        return kUsageOrFileError;
    }
    glossary_exchange::ReadResult parsed =
        glossary_exchange::Read(glossary_exchange::Format::kTsv, source);
    for (const std::string& error : parsed.errors) {
        std::fprintf(ctx.err, "%s: %s\n", tsvPath.c_str(), error.c_str());
    }
    if (!parsed.errors.empty()) {
        return kUsageOrFileError;
    }
    // Build the file through the glossary itself, starting from an empty one.
    CGlossary glossary{ArgPath(outPath)};
    glossary.RemoveAll();
    std::vector<TermRecordView> records;
    records.reserve(parsed.entries.size());
    for (const glossary_exchange::Entry& entry : parsed.entries) {
        records.push_back(entry.record);
    }
    glossary.AddAll(records, std::move(parsed.storage));
    glossary.Save();
    // A damaged OUTPUT was copied aside, byte for byte, before it was replaced.
    ReportDamagedFiles(ctx);
    std::fprintf(ctx.out, "imported %zu terms into %s\n", parsed.entries.size(), outPath.c_str());
    return kFound;
}

int Encode(const Context& ctx, const std::string& inPath, const std::string& outPath) {
    std::string source;
    if (!ReadTextFile(ArgPath(inPath), source)) {
        std::fprintf(ctx.err, "termix-cli: cannot read %s\n", inPath.c_str());
        return kUsageOrFileError;
    }
    if (!gbk::IsRepresentable(source)) {
        std::fprintf(ctx.err, "termix-cli: %s holds characters GBK cannot represent\n",
                     inPath.c_str());
        return kUsageOrFileError;
    }
    if (const fileio::Status status = fileio::ReplaceFile(ArgPath(outPath), gbk::FromUtf8(source));
        !status.ok()) {
        std::fprintf(ctx.err, "termix-cli: cannot write %s: %s\n", outPath.c_str(),
                     gbk::ToUtf8(ReasonText(status)).c_str());
        return kUsageOrFileError;
    }
    return kFound;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
        std::chrono::milliseconds editWait) {
    Context ctx{out, err, std::nullopt, editWait};
    std::optional<std::string>& file = ctx.file;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--file" && rest.empty()) {
            if (i + 1 >= args.size()) {
                return Usage(ctx, "--file needs a path");
            }
            file = args[++i];
        } else if ((args[i] == "--help" || args[i] == "-h") && rest.empty()) {
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
        // The build's form: two paths and no options.
        const bool buildImport = command == "import" && operands.size() == 2 &&
                                 operands[0].rfind("--", 0) != 0 && operands[1].rfind("--", 0) != 0;
        if (buildImport || command == "encode") {
            if (operands.size() != 2 || file) {
                return Usage(ctx, command + " takes an input and an output path");
            }
            return command == "import" ? Import(ctx, operands[0], operands[1])
                                       : Encode(ctx, operands[0], operands[1]);
        }
        if (command == "import") {
            return ImportInto(ctx, operands);
        }
        if (command == "export") {
            return Export(ctx, operands);
        }
        if (command == "add" || command == "update" || command == "delete") {
            return Edit(ctx, command, operands);
        }
        if (command == "where") {
            return operands.empty() && !file ? Where(ctx) : Usage(ctx, "where takes nothing");
        }
        if (command == "check") {
            if (!operands.empty()) {
                return Usage(ctx, "check takes no operand");
            }
            const std::optional<std::filesystem::path> path = GlossaryPath(ctx);
            return path ? Check(ctx, *path) : kUsageOrFileError;
        }
        if (command == "all" || command == "letter" || command == "nonletter" ||
            command == "search" || command == "show") {
            return Query(ctx, command, operands);
        }
        return Usage(ctx, "unknown command " + command);
    } catch (const Qm_conf_solitude_Exception& e) {
        PrintUtf8(err, e.m_message);
        std::fputc('\n', err);
        return kUsageOrFileError;
    }
}

}  // namespace cli
