#include "core/DataLocation.h"
#include "core/Glossary.h"
#include "core/TermRecordCheck.h"
#include "platform/SingleInstance.h"
#include "tools/termix-cli/Commands.h"
#include "util/GbkText.h"

namespace cli {

bool MayWriteGlossary(const Context& ctx, const std::filesystem::path& glossary) {
    std::error_code ec;
    const std::filesystem::path own = GetDataLocation().GlossaryFile();
    if (glossary != own && !std::filesystem::equivalent(glossary, own, ec)) {
        return true;  // another file: the window program does not hold it
    }
    // A look that takes no marker: a window program starting meanwhile is not turned away.
    if (!platform::CSingleInstance::IsHeldElsewhere(platform::kProgramMarker)) {
        return true;
    }
    std::fprintf(ctx.err,
                 "termix-cli: the Termix window program is running and holds this glossary; "
                 "change it there, or end the program and try again\n");
    return false;
}

int Edit(const Context& ctx, const std::string& command, const std::vector<std::string>& args) {
    const bool remove = command == "delete";
    if (remove ? args.size() != 1 : (args.size() < 2 || args.size() > 3)) {
        return Usage(
            ctx, remove ? "delete takes a term" : command + " takes TERM MEANING [EXPLANATION]");
    }
    for (const std::string& arg : args) {
        if (!gbk::IsRepresentable(arg)) {
            std::fprintf(ctx.err, "termix-cli: \"%s\" holds characters GBK cannot represent\n",
                         arg.c_str());
            return kUsageOrFileError;
        }
    }
    const CTermRecord record(gbk::FromUtf8(args[0]), remove ? "" : gbk::FromUtf8(args[1]),
                             args.size() == 3 ? gbk::FromUtf8(args[2]) : "");
    if (record.m_cs_term.empty() || (!remove && record.m_cs_meaning.empty())) {
        std::fputs("termix-cli: the term and the meaning must not be empty\n", ctx.err);
        return kUsageOrFileError;
    }
    if (const TermRecordProblem problem = CheckTermRecord(record); !problem.ok()) {
        std::fprintf(ctx.err, "termix-cli: %s\n", gbk::ToUtf8(problem.message).c_str());
        return kUsageOrFileError;
    }
    const std::optional<std::filesystem::path> path = GlossaryPath(ctx);
    if (!path) {
        return kUsageOrFileError;
    }
    if (!MayWriteGlossary(ctx, *path)) {
        return kProgramRunning;
    }
    fileio::SaveTurn turn;
    if (!TakeEditTurn(ctx, *path, turn)) {
        return kUsageOrFileError;
    }
    CGlossary glossary(*path);
    ReportDamagedFiles(ctx);
    const bool exists = glossary.Exists(record.m_cs_term);
    if (command == "add" && exists) {
        std::fprintf(ctx.err, "termix-cli: \"%s\" is already in the glossary (update changes it)\n",
                     args[0].c_str());
        return kNotFound;
    }
    if (command != "add" && !exists) {
        std::fprintf(ctx.err, "termix-cli: \"%s\" is not in the glossary\n", args[0].c_str());
        return kNotFound;
    }
    if (remove) {
        glossary.Delete(record.m_cs_term);
    } else {
        glossary.Add(record);
    }
    glossary.Save();
    return kFound;
}

}  // namespace cli
