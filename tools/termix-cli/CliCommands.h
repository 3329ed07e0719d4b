#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/fileio/SaveTurn.h"
#include "tools/termix-cli/CliSupport.h"

// The commands of termix-cli. Arguments and output are UTF-8; the glossary is GBK.
namespace cli {

// `editWait`: how long an edit waits for another program's save of the same glossary before
// it gives up, writing nothing (exit 2).
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
        std::chrono::milliseconds editWait = fileio::kSaveWait);

}  // namespace cli
