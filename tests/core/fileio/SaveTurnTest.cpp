#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/fileio/FileView.h"
#include "core/fileio/SaveTurn.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using fileio::Outcome;
using fileio::SaveTurn;

size_t FilesIn(const TempDir& dir) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++count;
    }
    return count;
}

TEST(SaveTurn, ASecondEditorWaitsItsBoundedTimeAndGetsTheTurnOnceItIsGivenUp) {
    TempDir dir;
    const std::string path = dir.file("g.termix");
    SaveTurn first;
    ASSERT_TRUE(first.Take(path).ok());
    EXPECT_EQ(SaveTurn::HeldFor(path), &first);
    SaveTurn second;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(second.Take(path, 60ms).outcome, Outcome::kBusy);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms);
    EXPECT_FALSE(second.Held());
    first.Release();
    ASSERT_TRUE(second.Take(path, 0ms).ok());
    second.Release();
    // A turn no save used leaves nothing behind.
    EXPECT_EQ(FilesIn(dir), 0u);
}

TEST(SaveTurn, ASaveOfTheFileWritesThroughTheHeldTurnAndEndsIt) {
    TempDir dir;
    const std::string path = dir.file("g.termix");
    SaveTurn turn;
    ASSERT_TRUE(turn.Take(path).ok());
    ASSERT_TRUE(fileio::ReplaceFile(path, "new").ok());
    EXPECT_FALSE(turn.Held());
    EXPECT_EQ(SaveTurn::HeldFor(path), nullptr);
    EXPECT_EQ(TempDir::ReadBytes(path), "new");
    ASSERT_TRUE(turn.Written().has_value());
    const std::optional<FileStamp> now = StampOf(path);
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(turn.Written()->inode, now->inode);
    EXPECT_EQ(turn.Written()->size, now->size);
    EXPECT_EQ(turn.Written()->modifiedNs, now->modifiedNs);
    EXPECT_EQ(FilesIn(dir), 1u);
}

// The waiter's open file is renamed over the target under it: it must not write into the
// glossary itself, but take a fresh temporary file.
TEST(SaveTurn, AWaiterTakesItsTurnAfterTheHoldersRenameAndBothSavesLand) {
    TempDir dir;
    const std::string path = dir.file("g.termix");
    SaveTurn first;
    ASSERT_TRUE(first.Take(path).ok());
    bool secondSaved = false;
    std::thread second([&] {
        SaveTurn turn;
        if (turn.Take(path, 5s).ok()) {
            const std::string before = TempDir::ReadBytes(path);
            secondSaved = fileio::ReplaceFile(path, before + "+second").ok();
        }
    });
    std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(fileio::ReplaceFile(path, "first").ok());
    second.join();
    EXPECT_TRUE(secondSaved);
    EXPECT_EQ(TempDir::ReadBytes(path), "first+second");
    EXPECT_EQ(FilesIn(dir), 1u);
}

// What a killed save leaves: its temporary file, half written and no longer locked.
TEST(SaveTurn, TheFileAKilledSaveLeftIsTakenAtOnceAndGoesWithTheNextSave) {
    TempDir dir;
    const std::string path = dir.file("g.termix");
    TempDir::WriteBytes(path, "old");
    TempDir::WriteBytes(fileio::TemporaryFor(path), "half a new file, longer than the old one");
    SaveTurn turn;
    ASSERT_TRUE(turn.Take(path, 0ms).ok());
    ASSERT_TRUE(fileio::ReplaceFile(path, "new").ok());
    EXPECT_EQ(TempDir::ReadBytes(path), "new");
    EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(SaveTurn, AFolderThatDoesNotExistIsNoBusyTurn) {
    TempDir dir;
    SaveTurn turn;
    EXPECT_EQ(turn.Take(dir.file("missing/g.termix"), 0ms).outcome, Outcome::kMissing);
    EXPECT_EQ(fileio::ReplaceFile(dir.file("missing/g.termix"), "x").outcome, Outcome::kNoFolder);
}

}  // namespace
