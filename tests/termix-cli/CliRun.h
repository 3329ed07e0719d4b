#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "core/fileio/SaveTurn.h"

// One run of termix-cli's commands in this process, with what it printed.
struct CliRun {
    int code = 0;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args,
              std::chrono::milliseconds editWait = fileio::kSaveWait);
