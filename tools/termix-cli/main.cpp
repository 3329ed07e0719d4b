// termix-cli: the glossary from the command line, on the same core as the window program.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/termix-cli/CliCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::Run(args, stdout, stderr);
}
