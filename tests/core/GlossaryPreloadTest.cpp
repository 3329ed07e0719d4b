// The glossary loaded on a thread from process start: the store's first use takes it, with the
// same rules as a load at that moment.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/GlossaryPreload.h"
#include "core/PairFile.h"
#include "tests/support/TempDir.h"
#include "util/ExeDir.h"

namespace {

const char kOneRecord[] = "0001#a = 0004#a\x07m\x07\r\n";

class GlossaryPreloadTest : public ::testing::Test {
protected:
    GlossaryPreloadTest() {
        SetExeDirForTesting(dir.path());
        ReleaseGlossary();
        TakeDamagedFileReports();
    }
    ~GlossaryPreloadTest() override {
        ReleaseGlossary();
        SetExeDirForTesting("");
    }

    TempDir dir;
    std::string glossaryPath = dir.file("Termix.CGlossary.termix");
};

TEST_F(GlossaryPreloadTest, TheFirstUseTakesThePreloadedGlossaryOnce) {
    TempDir::WriteBytes(glossaryPath, kOneRecord);
    const GlossaryPreload preload(CGlossary::DefaultPath());
    // What the first use returns was read by the preload, before the file changed.
    CGlossary& glossary = GetGlossary();
    EXPECT_EQ(glossary.GetCount(), 1);
    TempDir::WriteBytes(glossaryPath, "");
    EXPECT_EQ(&GetGlossary(), &glossary);
    EXPECT_EQ(TakePreloadedGlossary(CGlossary::DefaultPath()), nullptr);
}

TEST_F(GlossaryPreloadTest, AFailedPreloadRaisesOnceAndTheNextUseLoadsAfresh) {
    std::filesystem::create_directory(glossaryPath);
    const GlossaryPreload preload(CGlossary::DefaultPath());
    EXPECT_THROW(GetGlossary(), Qm_conf_solitude_Exception);
    std::filesystem::remove(glossaryPath);
    TempDir::WriteBytes(glossaryPath, kOneRecord);
    EXPECT_EQ(GetGlossary().GetCount(), 1);
}

TEST_F(GlossaryPreloadTest, ADamagedFileIsReportedWhenTheGlossaryIsTaken) {
    TempDir::WriteBytes(glossaryPath, std::string(kOneRecord) + "0009#cut");
    {
        // A finished preload that nobody takes for its file has told nobody anything.
        const GlossaryPreload unused(CGlossary::DefaultPath());
        ASSERT_EQ(TakePreloadedGlossary(dir.file("other.termix")), nullptr);
        EXPECT_TRUE(TakeDamagedFileReports().empty());
    }
    const GlossaryPreload preload(CGlossary::DefaultPath());
    const std::unique_ptr<CGlossary> taken = TakePreloadedGlossary(CGlossary::DefaultPath());
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->GetCount(), 1);
    const std::vector<DamagedFile> notes = TakeDamagedFileReports();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].stopOffset, sizeof kOneRecord - 1);
    EXPECT_EQ(TempDir::ReadBytes(notes[0].copy.string()), std::string(kOneRecord) + "0009#cut");
}

TEST(DamagedFileNotes, HeldNotesReachTheReportsOnlyWhenPassedOn) {
    TempDir dir;
    const std::string path = dir.file("held.termix");
    TempDir::WriteBytes(path, "0009#cut");
    TakeDamagedFileReports();
    std::vector<DamagedFile> held;
    HoldDamagedFileNotes(&held);
    PreserveDamagedFile(path, 0, 0);
    HoldDamagedFileNotes(nullptr);
    EXPECT_TRUE(TakeDamagedFileReports().empty());
    ASSERT_EQ(held.size(), 1u);
    NoteDamagedFiles(held);
    NoteDamagedFiles(held);  // still once per file and copy
    EXPECT_EQ(TakeDamagedFileReports().size(), 1u);
}

}  // namespace
