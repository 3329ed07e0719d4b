// What the data files survive on Windows: files another program holds open without sharing,
// files with the read-only attribute, and temporaries a running save holds open.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>

#include "core/ConfGlobal.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "core/PairFile.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

namespace fs = std::filesystem;
using namespace file_test;

namespace {

// The file opened the way an editor or a backup tool may hold it: no other open is allowed.
std::shared_ptr<void> HoldExclusively(const fs::path& path) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << path;
    return std::shared_ptr<void>(handle, [](HANDLE h) { CloseHandle(h); });
}

TEST(LockedFile, EveryStoreRaisesTheReadErrorAndNothingReplacesIt) {
    TempDir dir;
    std::vector<std::shared_ptr<void>> held;
    for (const char* name : {"g", "h", "s"}) {
        TempDir::WriteBytes(dir.file(name), kAbc);
        held.push_back(HoldExclusively(dir.file(name)));
    }
    EXPECT_EQ(ReadError(dir.file("g")), GBK("读入配置文件(") + dir.file("g") + GBK(")出错!\n") +
                                            GBK("没有访问这个文件的权限。"));
    EXPECT_THROW(CGlossary{fs::path(dir.file("g"))}, Qm_conf_solitude_Exception);
    CHistroy history{fs::path(dir.file("h"))};
    EXPECT_THROW(history.Load(), Qm_conf_solitude_Exception);
    history.Add("new");
    EXPECT_TRUE(history.LoadFailed());
    try {
        history.Save();
        ADD_FAILURE() << "a history that failed to load was saved";
    } catch (const Qm_conf_solitude_Exception& e) {
        EXPECT_TRUE(StartsWith(e.m_message, GBK("写入配置文件("))) << gbk::ToUtf8(e.m_message);
    }
    EXPECT_THROW(CConfGlobal{fs::path(dir.file("s"))}, Qm_conf_solitude_Exception);
    held.clear();
    for (const char* name : {"g", "h", "s"}) {
        EXPECT_EQ(TempDir::ReadBytes(dir.file(name)), kAbc) << name;
    }
}

// The read-only attribute is the Windows form of a file the user may not write.
TEST(ReadOnlyFile, ASaveRaisesTheWriteErrorAndKeepsTheFileAndItsAttribute) {
    TempDir dir;
    const fs::path path = dir.file("f");
    TempDir::WriteBytes(path, kAbc);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Qm_conf_solitude_File file(path, "#", "\r\n");
    file.Set("k", "v");
    try {
        file.Close();
        ADD_FAILURE() << "no exception";
    } catch (const Qm_conf_solitude_Exception& e) {
        EXPECT_EQ(e.m_message, GBK("写入配置文件(") + dir.file("f") + GBK(")出错!\n") +
                                   GBK("文件是只读的, 或者没有写入它的权限。"));
    }
    EXPECT_EQ(TempDir::ReadBytes(path), kAbc);
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(LeftoverTemporaries, OneThatARunningSaveHoldsStays) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc);
    TempDir::WriteBytes(dir.file("f.saving"), "partial");
    {
        const std::shared_ptr<void> held = HoldExclusively(dir.file("f.saving"));
        Qm_conf_solitude_File(dir.file("f"), "#", "\r\n").Discard();
        EXPECT_TRUE(TempDir::Exists(dir.file("f.saving")));
        // A second save of the same file cannot take the temporary name: it fails, and the file
        // stays as it was.
        Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
        file.Set("k", "v");
        EXPECT_THROW(file.Close(), Qm_conf_solitude_Exception);
    }
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), kAbc);
}

}  // namespace
