#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/Glossary.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

namespace {

// The program itself in a folder whose name GBK cannot hold finds its glossary there.
TEST(CliProgram, RunsFromAFolderWhoseNameGbkCannotHold) {
    TempDir dir;
    const std::filesystem::path folder = std::filesystem::path(dir.path()) / "björn 한국어";
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(TERMIX_CLI, folder / "termix-cli");
    CGlossary glossary(folder / "Termix.CGlossary.termix");
    glossary.Add(CTermRecord("use case", GBK("用例"), ""));
    glossary.Save();
    const std::string command = "'" + (folder / "termix-cli").string() + "' search case";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(output, "use case\t用例\n");
}

}  // namespace
