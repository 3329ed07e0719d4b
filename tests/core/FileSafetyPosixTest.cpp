// What the data files survive on POSIX: unreadable, read-only, symlinked and non-regular files,
// saves killed midway, temporaries a save holds locked, and a program folder the user cannot
// write.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "core/ConfGlobal.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "core/PairFile.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

namespace fs = std::filesystem;
using namespace file_test;

namespace {

// A file the user may neither read nor write: every store refuses to load it, and no save
// replaces it (a rename would not need write access to the old file).
TEST(UnreadableFile, EveryStoreRaisesTheReadErrorAndNothingReplacesIt) {
    TempDir dir;
    chmod(dir.path().c_str(), 0777);
    for (const char* name : {"g", "h", "s"}) {
        TempDir::WriteBytes(dir.file(name), kAbc);
        chmod(dir.file(name).c_str(), 0200);
    }
    const int failures = RunInChild(
        [&] {
            int failed = 0;
            const std::string expected = GBK("读入配置文件(") + dir.file("g") + GBK(")出错!\n") +
                                         GBK("没有访问这个文件的权限。");
            failed += ReadError(dir.file("g")) == expected ? 0 : 1;
            try {
                CGlossary glossary{fs::path(dir.file("g"))};
                failed += 2;
            } catch (const Qm_conf_solitude_Exception&) {
            }
            CHistroy history{fs::path(dir.file("h"))};
            try {
                history.Load();
                failed += 4;
            } catch (const Qm_conf_solitude_Exception&) {
            }
            history.Add("new");
            failed += history.LoadFailed() ? 0 : 8;
            try {
                history.Save();
                failed += 16;
            } catch (const Qm_conf_solitude_Exception& e) {
                failed += StartsWith(e.m_message, GBK("写入配置文件(")) ? 0 : 32;
            }
            try {
                CConfGlobal settings{fs::path(dir.file("s"))};
                failed += 64;
            } catch (const Qm_conf_solitude_Exception&) {
            }
            return failed;
        },
        true);
    EXPECT_EQ(failures, 0);
    for (const char* name : {"g", "h", "s"}) {
        chmod(dir.file(name).c_str(), 0600);
        EXPECT_EQ(TempDir::ReadBytes(dir.file(name)), kAbc) << name;
    }
}

// Saving over a file marked read-only fails like any write and leaves the file as it was.
TEST(ReadOnlyFile, ASaveRaisesTheWriteErrorAndKeepsTheFile) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc);
    chmod(dir.file("f").c_str(), 0444);
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Set("k", "v");
    try {
        file.Close();
        FAIL() << "no exception";
    } catch (const Qm_conf_solitude_Exception& e) {
        EXPECT_EQ(e.m_message, GBK("写入配置文件(") + dir.file("f") + GBK(")出错!\n") +
                                   GBK("文件是只读的, 或者没有写入它的权限。"));
    }
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), kAbc);
    struct stat info {};
    stat(dir.file("f").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
}

TEST(SymlinkedFile, ASaveWritesThroughTheLinkAndKeepsTheTargetsPermissions) {
    TempDir dir;
    fs::create_directory(dir.file("real"));
    TempDir::WriteBytes(dir.file("real/f"), kAbc);
    chmod(dir.file("real/f").c_str(), 0640);
    fs::create_symlink("real/f", dir.file("link"));
    {
        Qm_conf_solitude_File file(dir.file("link"), "#", "\r\n");
        EXPECT_EQ(file.Get("ABC"), "xyz");
        file.Set("ABC", "new");
        file.Close();
    }
    EXPECT_TRUE(fs::is_symlink(dir.file("link")));
    EXPECT_EQ(fs::read_symlink(dir.file("link")), "real/f");
    EXPECT_EQ(TempDir::ReadBytes(dir.file("real/f")), "0003#ABC = 0003#new\r\n");
    struct stat info {};
    stat(dir.file("real/f").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A link whose target does not exist yet: the save creates the target.
    fs::create_symlink(dir.file("real/new"), dir.file("dangling"));
    Qm_conf_solitude_File created(dir.file("dangling"), "#", "\r\n");
    created.Set("k", "v");
    created.Close();
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling")));
    EXPECT_EQ(TempDir::ReadBytes(dir.file("real/new")), "0001#k = 0001#v\r\n");
}

TEST(NewFile, GetsTheUsualPermissionsWithTheUmaskLeftAlone) {
    TempDir dir;
    const mode_t before = umask(027);
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Close();
    EXPECT_EQ(umask(before), 027u);
    struct stat info {};
    stat(dir.file("f").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// Nothing that is not a regular file is read; none of them may block the reader.
TEST(NonRegularFile, IsRefusedWithoutBlocking) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.file("zero"));
    fs::create_directory(dir.file("folder"));
    const std::string reason = GBK("这不是一个普通文件(而是文件夹、管道或设备)。");
    for (const char* name : {"fifo", "zero", "folder"}) {
        const std::string expected =
            GBK("读入配置文件(") + dir.file(name) + GBK(")出错!\n") + reason;
        EXPECT_EQ(ReadError(dir.file(name)), expected) << name;
        EXPECT_THROW(CGlossary{fs::path(dir.file(name))}, Qm_conf_solitude_Exception) << name;
    }
}

// A save killed at any moment leaves the old or the new file whole and at most one temporary
// file, which the next save removes.
TEST(CrashDuringSave, LeavesAWholeFileAndAtMostOneTemporary) {
    TempDir dir;
    const std::string path = dir.file("f");
    constexpr int kRecords = 200;
    auto save = [&path](int version) {
        Qm_conf_solitude_File file(path, "#", "\r\n");
        file.RemoveAll();
        for (int i = 0; i < kRecords; ++i) {
            file.Set("key" + std::to_string(i), std::to_string(version) + std::string(500, 'v'));
        }
        file.Close();
    };
    save(0);
    std::mt19937 random(12345);
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int version = 1;; ++version) {
                save(version);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 10000));
        ::kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
        ASSERT_LE(Names(dir.path()).size(), 2u) << "after kill " << kill;
    }
    Qm_conf_solitude_File file(path, "#", "\r\n");
    EXPECT_EQ(file.StopOffset(), -1) << "the file is torn";
    ASSERT_EQ(file.Count(), static_cast<size_t>(kRecords));
    const std::string version = file.Get("key0").substr(0, file.Get("key0").find('v'));
    for (int i = 0; i < kRecords; ++i) {
        EXPECT_EQ(file.Get("key" + std::to_string(i)), version + std::string(500, 'v'));
    }
    file.Close();
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"f"});
}

// A program folder the user cannot write: the settings are read and used, the write-back at load
// stays silent, and only a save raises. The folder and the file belong to the user who reads
// them (for a test run as root, whom no permission stops, the ordinary user the child becomes),
// and the file is writable, so the folder's mode is the only obstacle: writable again, the folder
// lets the same save through.
TEST(ReadOnlyProgramFolder, TheSettingsAreStillReadAndUsed) {
    TempDir dir;
    {
        CConfGlobal settings{fs::path(dir.file("s"))};
        settings.SetHotkey(196692);
        settings.SetExitOrHide(true);
        settings.Save();
    }
    GiveToOrdinaryUser(dir.path());
    GiveToOrdinaryUser(dir.file("s"));
    chmod(dir.file("s").c_str(), 0600);
    const auto readUseAndSave = [&dir] {
        return RunInChild(
            [&dir] {
                try {
                    CConfGlobal settings{fs::path(dir.file("s"))};
                    if (settings.GetHotkey() != 196692 || !settings.GetExitOrHide()) {
                        return 2;
                    }
                    settings.Save();
                    return 0;
                } catch (const Qm_conf_solitude_Exception& e) {
                    return StartsWith(e.m_message, GBK("写入配置文件(")) ? 1 : 3;
                }
            },
            true);
    };
    chmod(dir.path().c_str(), 0555);
    const int inReadOnlyFolder = readUseAndSave();
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(inReadOnlyFolder, 1) << "0: saved, 2: settings not used, 3: another error";
    EXPECT_EQ(readUseAndSave(), 0) << "the save fails without the folder's help";
}

TEST(LeftoverTemporaries, OneThatARunningSaveHoldsStays) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc);
    TempDir::WriteBytes(dir.file("f.saving"), "partial");
    const int held = open(dir.file("f.saving").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    Qm_conf_solitude_File(dir.file("f"), "#", "\r\n").Discard();
    EXPECT_TRUE(TempDir::Exists(dir.file("f.saving")));
    close(held);
}

}  // namespace
