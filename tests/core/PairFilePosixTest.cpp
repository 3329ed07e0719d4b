// Pair-file saves that fail on POSIX: a folder the user may not write, a full disk.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "core/PairFile.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

using file_test::kAbc;

namespace {

TEST(PairFileWrite, ReadOnlyDirectoryRaisesAndKeepsTheOldFile) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc);
    chmod(dir.path().c_str(), 0555);
    const int code = RunInChild(
        [&] {
            Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
            file.Set("k", "v");
            try {
                file.Close();
            } catch (const Qm_conf_solitude_Exception& e) {
                return e.m_message.rfind(GBK("写入配置文件(") + dir.file("f") + GBK(")出错!"), 0) ==
                               0
                           ? 7
                           : 4;
            }
            return 0;
        },
        true);
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(code, 7) << "the failed write was not reported with its message";
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), kAbc);
}

TEST(PairFileWrite, DiskFullDuringTheWriteKeepsTheOldFileWhole) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc);
    // Limit the file size so the write fails the way a full disk makes it fail.
    const int code = RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
        file.Set("long", std::string(5000, 'x'));
        try {
            file.Close();
        } catch (const Qm_conf_solitude_Exception&) {
            return 7;
        }
        return 0;
    });
    EXPECT_EQ(code, 7) << "the failed write was not reported";
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), kAbc);
}

}  // namespace
