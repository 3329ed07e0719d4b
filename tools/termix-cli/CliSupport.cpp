#include "tools/termix-cli/CliSupport.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "core/DamagedFile.h"
#include "core/DataLocation.h"
#include "core/fileio/FileIo.h"
#include "core/fileio/FileStatusText.h"
#include "util/GbkText.h"

namespace cli {

const char kUsage[] =
    "usage: termix-cli [--file GLOSSARY] COMMAND ...\n"
    "Looking up:\n"
    "  all                   every term                        termix-cli all\n"
    "  letter L              terms beginning with L            termix-cli letter u\n"
    "  nonletter             terms not beginning with a letter termix-cli nonletter\n"
    "  search [--in term|meaning|explanation|all] KEYWORD\n"
    "                        terms whose field contains KEYWORD, in either case\n"
    "                                                          termix-cli search --in meaning "
    "用例\n"
    "  show TERM             one term with its meaning and explanation (exact)\n"
    "                                                          termix-cli show UML\n"
    "  --json after all, letter, nonletter, search or show prints one JSON object per line:\n"
    "                                                          termix-cli search --json case\n"
    "Exchanging:\n"
    "  export --format tsv|csv|tbx|tbx-v2 [--output FILE]\n"
    "                        every record, sorted by term      termix-cli export --format csv\n"
    "  import --format tsv|csv|tbx|tbx-v2 [--on-conflict fail|keep|replace]\n"
    "         [--columns term,meaning,explanation] FILE\n"
    "                        merge FILE into the glossary      termix-cli import --format tbx "
    "t.tbx\n"
    "  Shapes read by import (UTF-8; TBX also UTF-16):\n"
    "    tsv with the header term<TAB>meaning<TAB>explanation  (what export writes)\n"
    "    tsv without a header: term<TAB>meaning[<TAB>explanation] per line\n"
    "                                                          Actor<TAB>参与者\n"
    "    tsv or csv with named columns, extra columns passed over\n"
    "                                                          English,Chinese,Definition\n"
    "    csv delimited by \",\" \";\" or tab, with or without a byte-order mark\n"
    "                                                          en-US;zh-Hans\n"
    "    csv or tsv whose header no rule fits: --columns names the columns by position\n"
    "                                                          --columns -,term,meaning\n"
    "    tbx: TBX v3 (tbx, conceptEntry) or v2 (martif, termEntry), told by the root element\n"
    "                                                          <martif type=\"TBX\">\n"
    "  Column names: en, en-US, English, source, term, 术语 (term); zh, zh-CN, zh-Hans,\n"
    "    Chinese_PRC, target, meaning, 汉意 (meaning); explanation, definition, zh-CN_Def,\n"
    "    note, 解释 (explanation). A TBX entry's Chinese terms are joined by \"；\".\n"
    "Editing (refused while the window program runs):\n"
    "  add TERM MEANING [EXPLANATION]                          termix-cli add Actor 参与者\n"
    "  update TERM MEANING [EXPLANATION]                       termix-cli update Actor 执行者\n"
    "  delete TERM                                             termix-cli delete Actor\n"
    "Files:\n"
    "  check                 parse the glossary, report where parsing stopped\n"
    "                                                          termix-cli check\n"
    "  where                 the data mode and the paths of the three data files\n"
    "                                                          termix-cli where\n"
    "  import TSV OUTPUT     build a glossary file from a UTF-8 glossary source\n"
    "                                                          termix-cli import g.tsv g.termix\n"
    "  encode INPUT OUTPUT   convert a UTF-8 text file to GBK  termix-cli encode a.txt b.txt\n"
    "Without --file the program's own glossary is used (see where).\n"
    "Exit codes: 0 done or found, 1 nothing found or a conflict, 2 usage or file error,\n"
    "3 check found damage, 4 the window program is running.\n";

int Usage(const Context& ctx, const std::string& problem) {
    std::fprintf(ctx.err, "termix-cli: %s\n%s", problem.c_str(), kUsage);
    return kUsageOrFileError;
}

void PrintUtf8(std::FILE* stream, std::string_view gbkText) {
    const std::string utf8 = gbk::ToUtf8(gbkText);
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

std::string Shown(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

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

bool ReadTextFile(const std::filesystem::path& path, std::string& content) {
    return fileio::ReadWholeFile(path, content).ok();
}

std::filesystem::path ArgPath(const std::string& utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::optional<std::filesystem::path> GlossaryPath(const Context& ctx) {
    if (!ctx.file) {
        const DataLocation location = GetDataLocation();
        location.Prepare();
        return location.GlossaryFile();
    }
    std::error_code ec;
    const std::filesystem::path path = ArgPath(*ctx.file);
    if (!std::filesystem::exists(path, ec)) {
        std::fprintf(ctx.err, "termix-cli: cannot open %s: %s\n", ctx.file->c_str(),
                     ec ? ec.message().c_str() : "no such file");
        return std::nullopt;
    }
    return path;
}

bool TakeEditTurn(const Context& ctx, const std::filesystem::path& path, fileio::SaveTurn& turn) {
    const fileio::Status status = turn.Take(path, ctx.editWait);
    if (status.outcome == fileio::Outcome::kBusy) {
        std::fprintf(ctx.err,
                     "termix-cli: another program has been changing %s for %lld seconds; nothing "
                     "was changed, try again\n",
                     Shown(path).c_str(),
                     static_cast<long long>(
                         std::chrono::duration_cast<std::chrono::seconds>(ctx.editWait).count()));
        return false;
    }
    if (!status.ok()) {
        std::fprintf(ctx.err, "termix-cli: cannot write %s: %s\n", Shown(path).c_str(),
                     gbk::ToUtf8(ReasonText(status)).c_str());
        return false;
    }
    return true;
}

bool ParseArguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
                    const std::set<std::string>& flags, Arguments& out, std::string& problem) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true;  // what follows are operands, even when they start with "--"
        } else if (!optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            if (valued.count(arg) != 0) {
                if (i + 1 >= args.size()) {
                    problem = arg + " needs a value";
                    return false;
                }
                out.options[arg] = args[++i];
            } else if (flags.count(arg) != 0) {
                out.flags.insert(arg);
            } else {
                problem = "unknown option " + arg;
                return false;
            }
        } else {
            out.operands.push_back(arg);
        }
    }
    return true;
}

Progress::Progress(const Context& ctx, const char* label, size_t total, size_t shownAbove)
    : m_label(label), m_total(total) {
#ifdef _WIN32
    const bool terminal = _isatty(_fileno(ctx.err)) != 0;
#else
    const bool terminal = isatty(fileno(ctx.err)) != 0;
#endif
    if (terminal && total > shownAbove) {
        m_stream = ctx.err;
    }
}

Progress::~Progress() {
    if (m_stream != nullptr) {
        std::fprintf(m_stream, "\r%s 100%%\n", m_label);
    }
}

void Progress::Update(size_t done) {
    if (m_stream == nullptr || done < m_next) {
        return;
    }
    const size_t percent = done * 100 / m_total;
    std::fprintf(m_stream, "\r%s %zu%%", m_label, percent);
    std::fflush(m_stream);
    m_next = (percent + 1) * m_total / 100 + 1;
}

}  // namespace cli
