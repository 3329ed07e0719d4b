#pragma once

#include <string>
#include <vector>

#include "tools/termix-cli/CliSupport.h"

// The command groups of termix-cli; `args` are the command's own arguments.
namespace cli {

// all, letter, nonletter, search, show (with --json and search --in).
int Query(const Context& ctx, const std::string& command, const std::vector<std::string>& args);
// export --format F [--output FILE]
int Export(const Context& ctx, const std::vector<std::string>& args);
// import --format F [--on-conflict P] FILE
int ImportInto(const Context& ctx, const std::vector<std::string>& args);
// add, update, delete
int Edit(const Context& ctx, const std::string& command, const std::vector<std::string>& args);

// Writing commands on the program's own glossary wait for the window program to end: it holds
// the glossary in memory and would write over the change. False, after a message, while it runs.
bool MayWriteGlossary(const Context& ctx, const std::filesystem::path& glossary);

}  // namespace cli
