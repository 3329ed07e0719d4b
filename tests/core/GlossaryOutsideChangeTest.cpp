#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/Glossary.h"
#include "tests/support/TempDir.h"

namespace {

using Result = CGlossary::SaveResult;

// Every record of the file at `path`, term → meaning.
std::map<std::string, std::string> Records(const std::string& path) {
    CGlossary glossary(path);
    std::map<std::string, std::string> records;
    for (const TermRecordView& view : glossary.SortedViews()) {
        records.emplace(view.term, view.meaning);
    }
    return records;
}

// Another program's glossary file, written at `path` in one go.
void WriteGlossary(const std::string& path,
                   const std::vector<std::pair<std::string, std::string>>& records) {
    CGlossary other(path);
    other.RemoveAll();
    for (const auto& [term, meaning] : records) {
        other.Add(CTermRecord(term, meaning, ""));
    }
    other.Save(path);
}

class GlossaryOutsideChange : public ::testing::Test {
protected:
    GlossaryOutsideChange() {
        WriteGlossary(path, {{"Actor", "a"}, {"Block", "b"}, {"Class", "c"}, {"Datatype", "d"}});
    }

    // The other program's new file replaces the glossary by a rename, as a save or a sync tool
    // does.
    void ReplaceByRename(const std::vector<std::pair<std::string, std::string>>& records) {
        WriteGlossary(dir.file("elsewhere.termix"), records);
        std::filesystem::rename(dir.file("elsewhere.termix"), path);
    }
    // ... or rewrites the same file in place, as an editor or a copy over it does.
    void RewriteInPlace(const std::vector<std::pair<std::string, std::string>>& records) {
        WriteGlossary(dir.file("elsewhere.termix"), records);
        const std::string bytes = TempDir::ReadBytes(dir.file("elsewhere.termix"));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    TempDir dir;
    std::string path = dir.file("g.termix");
};

TEST_F(GlossaryOutsideChange, AFileReplacedByRenameIsReadAgainWhenNothingChangedHere) {
    CGlossary glossary(path);
    ReplaceByRename({{"Actor", "a"}, {"Zone", "z"}});
    const std::string replaced = TempDir::ReadBytes(path);
    EXPECT_EQ(glossary.Save(), Result::kReloaded);
    EXPECT_EQ(glossary.GetCount(), 2);
    EXPECT_TRUE(glossary.Exists("Zone"));
    EXPECT_EQ(TempDir::ReadBytes(path), replaced);
    // From then on the file is the one it read: its own change is simply written.
    glossary.Add(CTermRecord("Event", "e", ""));
    EXPECT_EQ(glossary.Save(), Result::kWritten);
    EXPECT_EQ(Records(path).size(), 3u);
}

// The outside program changed a term the window also changed, deleted one, changed and added
// others; the window updated, deleted and added terms. The window's edits win for its terms.
TEST_F(GlossaryOutsideChange, ChangesOnBothSidesAreMergedRecordByRecord) {
    CGlossary glossary(path);
    glossary.Update(CTermRecord("Actor", "window", ""));
    glossary.Delete("Block");
    glossary.Add(CTermRecord("Event", "window", ""));
    ReplaceByRename({{"Actor", "outside"},
                     {"Block", "b"},
                     {"Class", "outside"},
                     {"Flow", "outside"},
                     {"Event", "outside"}});
    EXPECT_EQ(glossary.Save(), Result::kMerged);
    const std::map<std::string, std::string> expected = {
        {"Actor", "window"}, {"Class", "outside"}, {"Event", "window"}, {"Flow", "outside"}};
    EXPECT_EQ(Records(path), expected);
    EXPECT_EQ(glossary.GetCount(), 4);
    EXPECT_EQ(glossary.Save(), Result::kWritten);
}

TEST_F(GlossaryOutsideChange, AFileRewrittenInPlaceIsNoticedToo) {
    CGlossary glossary(path);
    glossary.Add(CTermRecord("Event", "window", ""));
    RewriteInPlace({{"Actor", "a"}, {"Zone", "outside, a longer meaning"}});
    EXPECT_EQ(glossary.Save(), Result::kMerged);
    const std::map<std::string, std::string> expected = {
        {"Actor", "a"}, {"Event", "window"}, {"Zone", "outside, a longer meaning"}};
    EXPECT_EQ(Records(path), expected);
}

TEST_F(GlossaryOutsideChange, AFileThatAppearedAfterTheReadIsTakenIn) {
    std::filesystem::remove(path);
    CGlossary glossary(path);
    glossary.Add(CTermRecord("Event", "window", ""));
    WriteGlossary(path, {{"Actor", "outside"}});
    EXPECT_EQ(glossary.Save(), Result::kMerged);
    EXPECT_EQ(Records(path).size(), 2u);
}

TEST_F(GlossaryOutsideChange, AFileDeletedMeanwhileIsWrittenAgain) {
    CGlossary glossary(path);
    std::filesystem::remove(path);
    EXPECT_EQ(glossary.Save(), Result::kWritten);
    EXPECT_EQ(Records(path).size(), 4u);
}

TEST_F(GlossaryOutsideChange, ItsOwnSavesAreNoOutsideChange) {
    CGlossary glossary(path);
    glossary.Add(CTermRecord("Event", "e", ""));
    EXPECT_EQ(glossary.Save(), Result::kWritten);
    glossary.Delete("Event");
    EXPECT_EQ(glossary.Save(), Result::kWritten);
    EXPECT_EQ(Records(path).size(), 4u);
}

}  // namespace
