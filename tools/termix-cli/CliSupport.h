#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/fileio/SaveTurn.h"

// What the commands of termix-cli share: the output streams, messages, paths and options.
namespace cli {

// The exit codes of every command.
enum ExitCode {
    kFound = 0,
    kNotFound = 1,  // also: a conflict, or a term that is (not) there for an edit
    kUsageOrFileError = 2,
    kParseStopped = 3,
    kProgramRunning = 4,  // the window program holds the glossary a command would write
};

struct Context {
    std::FILE* out;
    std::FILE* err;
    std::optional<std::string> file;     // --file, when given
    std::chrono::milliseconds editWait;  // how long an edit waits for its turn
};

extern const char kUsage[];

// Prints the problem and the usage to stderr; returns the usage exit code.
int Usage(const Context& ctx, const std::string& problem);
void PrintUtf8(std::FILE* stream, std::string_view gbkText);
// A path as the user sees it, in UTF-8: lossless for the file system's own names.
std::string Shown(const std::filesystem::path& path);
// Says on stderr which files read as damaged; the glossary itself was read as far as it could.
void ReportDamagedFiles(const Context& ctx);
bool ReadTextFile(const std::filesystem::path& path, std::string& content);
// A path given on the command line (UTF-8): the same bytes on POSIX, UTF-16 on Windows.
std::filesystem::path ArgPath(const std::string& utf8);

// The glossary a command works on: --file, which must exist, or the program's own (made ready
// first, as the window program does; it may not exist yet). Nothing, after a message, when
// --file names nothing.
std::optional<std::filesystem::path> GlossaryPath(const Context& ctx);

// Takes the turn to edit the glossary at `path`, held until `turn` goes: from before the
// glossary is read until its save. False, after a message, when another program kept it for
// all of ctx.editWait or it cannot be taken.
bool TakeEditTurn(const Context& ctx, const std::filesystem::path& path, fileio::SaveTurn& turn);

// A command's own arguments: options with a value, flags, and the operands in order.
struct Arguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;
};
// False, with the problem, for an unknown option or one without its value.
bool ParseArguments(const std::vector<std::string>& args, const std::set<std::string>& valued,
                    const std::set<std::string>& flags, Arguments& out, std::string& problem);

// A progress line on stderr for long work ("exporting 42%"), only when stderr is a terminal
// and `total` is above `shownAbove`.
class Progress {
public:
    Progress(const Context& ctx, const char* label, size_t total, size_t shownAbove = 50000);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void Update(size_t done);

private:
    std::FILE* m_stream = nullptr;  // null: silent
    const char* m_label;
    size_t m_total;
    size_t m_next = 0;  // the count at which the line next changes
};

}  // namespace cli
