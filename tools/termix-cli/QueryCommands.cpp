#include "controls/ReportRowModel.h"
#include "core/DataLocation.h"
#include "core/Glossary.h"
#include "core/GlossaryScan.h"
#include "tools/termix-cli/CliCommands.h"
#include "tools/termix-cli/Commands.h"
#include "util/GbkText.h"

namespace cli {
namespace {

// A JSON string: quotes, backslashes and control characters escaped; UTF-8 as it is.
void AppendJsonString(std::string& out, const std::string& utf8) {
    out.push_back('"');
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out.append("\\\"");
                break;
            case '\\':
                out.append("\\\\");
                break;
            case '\n':
                out.append("\\n");
                break;
            case '\r':
                out.append("\\r");
                break;
            case '\t':
                out.append("\\t");
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out.append(escaped);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

void PrintJson(const Context& ctx, const CTermRecord& record) {
    std::string line = "{\"term\":";
    AppendJsonString(line, gbk::ToUtf8(record.m_cs_term));
    line.append(",\"meaning\":");
    AppendJsonString(line, gbk::ToUtf8(record.m_cs_meaning));
    line.append(",\"explanation\":");
    AppendJsonString(line, gbk::ToUtf8(record.m_cs_explanation));
    line.append("}\n");
    std::fwrite(line.data(), 1, line.size(), ctx.out);
}

void PrintRow(const Context& ctx, std::string_view term, std::string_view meaning) {
    // Converted into one line and written at once: a search may print thousands of rows.
    std::string line;
    gbk::AppendToUtf8(term, line);
    line.push_back('\t');
    gbk::AppendToUtf8(meaning, line);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), ctx.out);
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
    scan.UseCache(UserFoldersFromEnvironment().cache);
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

int PrintRows(const Context& ctx, const CGlossary& glossary, const CReportRowModel& rows,
              long count, bool json) {
    for (int i = 0; i < rows.GetRowCount(); ++i) {
        if (json) {
            CTermRecord record;
            glossary.Get(std::string(rows.CellText(i, 0)), record);
            PrintJson(ctx, record);
            continue;
        }
        PrintRow(ctx, rows.CellText(i, 0), rows.CellText(i, 1));
    }
    return count > 0 ? kFound : kNotFound;
}

std::optional<CGlossary::SearchField> FieldFromName(const std::string& name) {
    if (name == "term") {
        return CGlossary::SearchField::kTerm;
    }
    if (name == "meaning") {
        return CGlossary::SearchField::kMeaning;
    }
    if (name == "explanation") {
        return CGlossary::SearchField::kExplanation;
    }
    if (name == "all") {
        return CGlossary::SearchField::kAll;
    }
    return std::nullopt;
}

}  // namespace

int Query(const Context& ctx, const std::string& command, const std::vector<std::string>& args) {
    Arguments a;
    std::string problem;
    const std::set<std::string> valued =
        command == "search" ? std::set<std::string>{"--in"} : std::set<std::string>{};
    if (!ParseArguments(args, valued, {"--json"}, a, problem)) {
        return Usage(ctx, problem);
    }
    const std::vector<std::string>& operands = a.operands;
    const bool json = a.flags.count("--json") != 0;
    const size_t wanted = command == "all" || command == "nonletter" ? 0 : 1;
    if (operands.size() != wanted) {
        return Usage(ctx, "wrong number of operands for " + command);
    }
    if (command == "letter" && operands[0].size() != 1) {
        return Usage(ctx, "letter takes one character");
    }
    std::optional<CGlossary::SearchField> field = CGlossary::SearchField::kTerm;
    if (const auto in = a.options.find("--in"); in != a.options.end()) {
        field = FieldFromName(in->second);
        if (!field) {
            return Usage(ctx, "--in takes term, meaning, explanation or all");
        }
    }
    const std::optional<std::filesystem::path> path = GlossaryPath(ctx);
    if (!path) {
        return kUsageOrFileError;
    }
    // A one-shot show or term search needs no loaded glossary.
    const bool scannable =
        !json &&
        (command == "show" || (command == "search" && *field == CGlossary::SearchField::kTerm));
    if (scannable) {
        if (const std::optional<int> code =
                ScanQuery(ctx, *path, command == "show", gbk::FromUtf8(operands[0]))) {
            return *code;
        }
    }
    CGlossary glossary(*path);
    ReportDamagedFiles(ctx);
    if (command == "show") {
        CTermRecord record;
        if (!glossary.Get(gbk::FromUtf8(operands[0]), record)) {
            return kNotFound;
        }
        if (json) {
            PrintJson(ctx, record);
            return kFound;
        }
        return PrintRecord(ctx, record.m_cs_term, record.m_cs_meaning, record.m_cs_explanation);
    }
    CReportRowModel rows;
    rows.AddColumnsFromSpec(TermColumns(), TermColumnCount());
    long count = 0;
    if (command == "all") {
        count = glossary.ListAll(rows);
    } else if (command == "nonletter") {
        count = glossary.ListNonLetter(rows);
    } else if (command == "letter") {
        count = glossary.ListByFirstLetter(rows, operands[0][0]);
    } else {
        count = glossary.ListByKeywordIn(rows, gbk::FromUtf8(operands[0]), *field);
    }
    return PrintRows(ctx, glossary, rows, count, json);
}

}  // namespace cli
