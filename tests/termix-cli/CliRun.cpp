#include "tests/termix-cli/CliRun.h"

#include <cstdio>

#include "tools/termix-cli/CliCommands.h"

namespace {

std::string Drain(std::FILE* stream) {
    std::fflush(stream);
    std::rewind(stream);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) {
        text.append(buffer, n);
    }
    std::fclose(stream);
    return text;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, std::chrono::milliseconds editWait) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CliRun run;
    run.code = cli::Run(args, out, err, editWait);
    run.out = Drain(out);
    run.err = Drain(err);
    return run;
}
