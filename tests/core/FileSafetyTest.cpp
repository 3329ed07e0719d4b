// What the data files survive on every system: a file that fails to load, oversize files and the
// leftovers of killed saves. FileSafetyPosixTest and FileSafetyWinTest hold what each system
// adds (permissions, links, locks, crashes).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/ConfGlobal.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "core/PairFile.h"
#include "core/fileio/FileIo.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

namespace fs = std::filesystem;
using namespace file_test;

namespace {

TEST(UnreadableFile, AHistoryReadAfterAFailedLoadMayBeSavedAgain) {
    TempDir dir;
    fs::create_directory(dir.file("h"));
    CHistroy history{fs::path(dir.file("h"))};
    EXPECT_THROW(history.Load(), Qm_conf_solitude_Exception);
    EXPECT_TRUE(history.LoadFailed());
    fs::remove(dir.file("h"));
    history.Load();
    EXPECT_FALSE(history.LoadFailed());
    history.Add("UML");
    history.Save();
    EXPECT_EQ(TempDir::ReadBytes(dir.file("h")), "0003#UML = 0003#UML\r\n");
}

TEST(OversizeFile, IsRefusedWithoutBeingRead) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("huge"), "");
    std::error_code ec;
    fs::resize_file(dir.file("huge"), fileio::kMaxFileSize + 1, ec);  // sparse: takes no space
    if (ec) {
        // Seen once under wine ("File too large"): the file system, not the program, refused.
        GTEST_SKIP() << "no file of 1 GiB can be made here: " << ec.message();
    }
    EXPECT_EQ(ReadError(dir.file("huge")), GBK("读入配置文件(") + dir.file("huge") +
                                               GBK(")出错!\n") +
                                               GBK("文件大于 1 GiB, 不是 Termix 的数据文件。"));
}

TEST(LeftoverTemporaries, AreRemovedAtTheNextLoadOrSave) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc);
    // The leftover of a killed save goes at the next load.
    TempDir::WriteBytes(dir.file("f.saving"), "partial");
    Qm_conf_solitude_File(dir.file("f"), "#", "\r\n").Discard();
    EXPECT_FALSE(TempDir::Exists(dir.file("f.saving")));
    // Earlier versions' leftovers go with the next save; other files stay.
    for (const char* name : {"f.tmp-a1B2c3", "f.tmp-Zz9876", "f.tmp-keep", "g.tmp-a1B2c3"}) {
        TempDir::WriteBytes(dir.file(name), "old");
    }
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Close();
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"f", "f.tmp-keep", "g.tmp-a1B2c3"}));
}

// A file written piece by piece replaces the target only when the producer finished; one that
// gave up midway leaves the target and no temporary file behind.
TEST(PiecewiseSave, ReplacesTheTargetOnlyWhenEveryPieceWasWritten) {
    TempDir dir;
    const fs::path target = dir.file("f");
    TempDir::WriteBytes(target, "old");
    const auto pieces = [](bool finish) {
        return [finish](const fileio::ChunkWriter& write) {
            return write("new ") && write(std::string(100000, 'x')) && finish && write(" end");
        };
    };
    const fileio::Status gaveUp = fileio::ReplaceFileWith(target, pieces(false));
    EXPECT_EQ(gaveUp.outcome, fileio::Outcome::kIoError);
    EXPECT_EQ(gaveUp.systemError, 0);
    EXPECT_EQ(TempDir::ReadBytes(target), "old");
    EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"f"}));
    ASSERT_TRUE(fileio::ReplaceFileWith(target, pieces(true)).ok());
    EXPECT_EQ(TempDir::ReadBytes(target), "new " + std::string(100000, 'x') + " end");
}

// A folder where a data file belongs is refused by every store and survives every save.
TEST(FolderAtTheDataPath, EveryStoreRaisesTheReadErrorAndTheFolderStays) {
    TempDir dir;
    for (const char* name : {"g", "h", "s"}) {
        fs::create_directory(dir.file(name));
    }
    EXPECT_EQ(ReadError(dir.file("g")), GBK("读入配置文件(") + dir.file("g") + GBK(")出错!\n") +
                                            GBK("这不是一个普通文件(而是文件夹、管道或设备)。"));
    EXPECT_THROW(CGlossary{fs::path(dir.file("g"))}, Qm_conf_solitude_Exception);
    CHistroy history{fs::path(dir.file("h"))};
    EXPECT_THROW(history.Load(), Qm_conf_solitude_Exception);
    history.Add("new");
    EXPECT_THROW(history.Save(), Qm_conf_solitude_Exception);
    EXPECT_THROW(CConfGlobal{fs::path(dir.file("s"))}, Qm_conf_solitude_Exception);
    for (const char* name : {"g", "h", "s"}) {
        EXPECT_TRUE(fs::is_directory(dir.file(name))) << name;
    }
}

}  // namespace
