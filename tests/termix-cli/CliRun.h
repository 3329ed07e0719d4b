#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/fileio/SaveTurn.h"
#include "tools/termix-cli/CliCommands.h"

// One run of termix-cli's commands in this process, with what it printed.
struct CliRun {
    int code = 0;
    std::string out;
    std::string err;
};

inline std::string DrainAndClose(std::FILE* stream) {
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

inline CliRun RunCli(const std::vector<std::string>& args,
                     std::chrono::milliseconds editWait = fileio::kSaveWait) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CliRun run;
    run.code = cli::Run(args, out, err, editWait);
    run.out = DrainAndClose(out);
    run.err = DrainAndClose(err);
    return run;
}
