#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/SaveTurn.h"

// The commands of termix-cli. Arguments and output are UTF-8; the glossary is GBK.
namespace cli {

enum ExitCode {
    kFound = 0,
    kNotFound = 1,  // also: a conflict, or a term that is (not) there for an edit
    kUsageOrFileError = 2,
    kParseStopped = 3,
    kProgramRunning = 4,  // the window program holds the glossary a command would write
};

// `editWait`: how long an edit waits for another program's save of the same glossary before
// it gives up, writing nothing (exit 2).
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
        std::chrono::milliseconds editWait = fileio::kSaveWait);

}  // namespace cli
