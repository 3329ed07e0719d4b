#include "controls/ReportRowModel.h"
#include "core/Glossary.h"
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

int PrintRows(const Context& ctx, const CGlossary& glossary, const CReportRowModel& rows,
              long count, bool json) {
    for (int i = 0; i < rows.GetRowCount(); ++i) {
        if (json) {
            CTermRecord record;
            glossary.Get(rows.CellText(i, 0), record);
            PrintJson(ctx, record);
            continue;
        }
        PrintUtf8(ctx.out, rows.CellText(i, 0));
        std::fputc('\t', ctx.out);
        PrintUtf8(ctx.out, rows.CellText(i, 1));
        std::fputc('\n', ctx.out);
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
        std::fputs("term: ", ctx.out);
        PrintUtf8(ctx.out, record.m_cs_term);
        std::fputs("\nmeaning: ", ctx.out);
        PrintUtf8(ctx.out, record.m_cs_meaning);
        std::fputs("\nexplanation: ", ctx.out);
        PrintUtf8(ctx.out, record.m_cs_explanation);
        std::fputc('\n', ctx.out);
        return kFound;
    }
    CReportRowModel rows;
    rows.AddColumnsFromSpec(GBK("术语|汉意"), 2);
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
