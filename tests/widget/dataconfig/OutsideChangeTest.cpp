// The window's save when another program replaced the glossary file while the window was open.
#include <filesystem>

#include "core/Glossary.h"
#include "resources/DataConfigDialogIds.h"
#include "tests/widget/dataconfig/DataConfigTestSupport.h"
#include "ui/dataconfig/DataConfigDlg.h"

using namespace dataconfig_ids;

namespace {

// Another program (a sync tool, a restore) puts a new glossary file in place by a rename.
void ReplaceFromOutside(const std::string& path, const std::vector<CTermRecord>& records) {
    const std::string elsewhere = path + ".elsewhere";
    CGlossary other(elsewhere);
    for (const CTermRecord& record : records) {
        other.Add(record);
    }
    other.Save(elsewhere);
    std::filesystem::rename(elsewhere, path);
}

}  // namespace

TEST_F(DataConfigTest, WithoutChangesOfItsOwnTheWindowReadsTheNewFileInsteadOfSavingOverIt) {
    Seed({{"UML", G("统一建模语言"), ""}, {"Actor", G("参与者"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        ReplaceFromOutside(GlossaryPath(),
                           {{"UML", "outside", ""}, {"Block", "b", ""}, {"Class", "c", ""}});
        Click(dlg, kToMain);
        EXPECT_FALSE(dlg.IsRunning());
    });
    EXPECT_EQ(GetGlossary().GetCount(), 3);
    EXPECT_EQ(StoredInFile("UML")->m_cs_meaning, "outside");
    EXPECT_FALSE(StoredInFile("Actor"));
    // The count the window shows follows.
    RunWindow([&](CDataConfigDlg& dlg) { EXPECT_EQ(Text(dlg, kCount), "-- 术语总数: 3 条 --"); });
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DataConfigTest, WithChangesOfItsOwnTheWindowMergesThemIntoTheNewFile) {
    Seed({{"UML", G("统一建模语言"), ""}, {"Actor", G("参与者"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        SetText(dlg, kTermEdit, "Zebra");
        SetText(dlg, kMeaningEdit, "斑马");
        Click(dlg, kAdd);
        ReplaceFromOutside(GlossaryPath(), {{"UML", "outside", ""},
                                            {"Actor", G("参与者"), ""},
                                            {"Block", "b", ""},
                                            {"Zebra", "outside", ""}});
        Click(dlg, kToMain);
        EXPECT_FALSE(dlg.IsRunning());
    });
    // The window's own term wins; every other term of the new file stays.
    EXPECT_EQ(U(StoredInFile("Zebra")->m_cs_meaning), "斑马");
    EXPECT_EQ(StoredInFile("UML")->m_cs_meaning, "outside");
    EXPECT_TRUE(StoredInFile("Block"));
    EXPECT_TRUE(StoredInFile("Actor"));
    EXPECT_EQ(GetGlossary().GetCount(), 4);
    EXPECT_TRUE(TakeMessages().empty());
}
