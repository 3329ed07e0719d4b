#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The commands of termix-cli. Arguments and output are UTF-8; the glossary is GBK.
namespace cli {

enum ExitCode {
    kFound = 0,
    kNotFound = 1,  // also: a conflict, or a term that is (not) there for an edit
    kUsageOrFileError = 2,
    kParseStopped = 3,
    kProgramRunning = 4,  // the window program holds the glossary a command would write
};

int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace cli
