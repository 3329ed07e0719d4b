#include <gtest/gtest.h>

#include "tests/support/TempDir.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

TEST(ExeDir, IsTheRunningExecutablesDirectoryWithItsSeparator) {
    const std::string dir = GetExeDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), PathSeparator()[0]);
    EXPECT_TRUE(TempDir::Exists(ExeDirPath() / TERMIX_UNIT_TESTS_NAME));
}

TEST(ExeDir, ATestDirectoryReplacesItUntilCleared) {
    const std::string real = GetExeDir();
    SetExeDirForTesting("/somewhere/else/");
    EXPECT_EQ(GetExeDir(), "/somewhere/else/");
    EXPECT_EQ(ExeDirPath(), "/somewhere/else/");
    SetExeDirForTesting("");
    EXPECT_EQ(GetExeDir(), real);
}

}  // namespace
