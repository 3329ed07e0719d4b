// termix-cli on Windows: the arguments arrive as UTF-16 and are passed on as UTF-8, and the
// output streams are binary, so the program prints the same bytes as on every other system.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/termix-cli/CliCommands.h"

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::u8string utf8 = std::filesystem::path(argv[i]).u8string();
        args.emplace_back(utf8.begin(), utf8.end());
    }
    return cli::Run(args, stdout, stderr);
}
