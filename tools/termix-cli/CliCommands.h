#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The commands of termix-cli. Arguments and output are UTF-8; the glossary is GBK.
namespace cli {

enum ExitCode { kFound = 0, kNotFound = 1, kUsageOrFileError = 2, kParseStopped = 3 };

int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace cli
