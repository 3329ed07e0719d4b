#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/ConfGlobal.h"
#include "core/PairFile.h"
#include "tests/support/TempDir.h"
#include "util/ExeDir.h"

namespace {

class ConfGlobalTest : public ::testing::Test {
protected:
    std::string Path() const { return dir.file("Termix.CConfGlobal.cfg"); }
    TempDir dir;
};

TEST_F(ConfGlobalTest, FirstStartCreatesTheFileWithSevenEmptyKeys) {
    CConfGlobal conf(Path());
    EXPECT_FALSE(conf.GetStartupWindowHide());
    EXPECT_FALSE(conf.GetExitOrHide());
    EXPECT_FALSE(conf.GetEscExitOrHide());
    EXPECT_FALSE(conf.GetStartupSearchTermB());
    EXPECT_EQ(conf.GetStartupSearchTermS(), "");
    EXPECT_EQ(conf.GetHotkey(), 0);
    EXPECT_FALSE(conf.GetSearchedHistorySaved());
    Qm_conf_solitude_File file(Path(), "#", "\r\n");
    EXPECT_EQ(file.Count(), 7u);
    EXPECT_EQ(file.Get("m_cs_hotkey"), "");
    file.Discard();
}

TEST_F(ConfGlobalTest, OnlyExactYesIsOn) {
    {
        Qm_conf_solitude_File file(Path(), "#", "\r\n");
        file.Set("m_cs_startup_window_hide", "yes");
        file.Set("m_cs_exit_or_hide", "Yes");
        file.Set("m_cs_esc_exit_or_hide", "Yes ");
        file.Close();
    }
    CConfGlobal conf(Path());
    EXPECT_FALSE(conf.GetStartupWindowHide());
    EXPECT_TRUE(conf.GetExitOrHide());
    EXPECT_FALSE(conf.GetEscExitOrHide());
    conf.Save();
    // A hand-edited value is stored back unchanged until a writer replaces it.
    Qm_conf_solitude_File file(Path(), "#", "\r\n");
    EXPECT_EQ(file.Get("m_cs_startup_window_hide"), "yes");
    file.Discard();
}

TEST_F(ConfGlobalTest, WritersStoreTheDocumentedForms) {
    {
        CConfGlobal conf(Path());
        conf.SetStartupWindowHide(true);
        conf.SetExitOrHide(false);
        conf.SetHotkey(196692);
        conf.SetStartupSearchTermS("use case");
        // Nothing reaches the file until Save.
        Qm_conf_solitude_File file(Path(), "#", "\r\n");
        EXPECT_EQ(file.Get("m_cs_hotkey"), "");
        file.Discard();
        conf.Save();
    }
    const std::string bytes = TempDir::ReadBytes(Path());
    EXPECT_NE(bytes.find("0011#m_cs_hotkey = 0006#196692\r\n"), std::string::npos);
    CConfGlobal conf(Path());
    EXPECT_TRUE(conf.GetStartupWindowHide());
    EXPECT_EQ(conf.m_cs_exit_or_hide, "No");
    EXPECT_EQ(conf.GetHotkey(), 196692);
    EXPECT_EQ(conf.GetStartupSearchTermS(), "use case");
}

TEST_F(ConfGlobalTest, HotkeyReadsTheLeadingNumber) {
    CConfGlobal conf(Path());
    conf.m_cs_hotkey = "  196676abc";
    EXPECT_EQ(conf.GetHotkey(), 196676);
    conf.m_cs_hotkey = "x1";
    EXPECT_EQ(conf.GetHotkey(), 0);
    conf.SetHotkey(-5);
    EXPECT_EQ(conf.m_cs_hotkey, "-5");
}

// The write-back at load happens only when the file lacks something: a start then costs no
// flush to the disk.
TEST_F(ConfGlobalTest, TheLoadWritesTheFileBackOnlyWhenItLacksAKey) {
    // Back-dated by a day, and read back: file systems keep the time less precisely.
    const auto backDate = [this] {
        std::filesystem::last_write_time(
            Path(), std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
        return std::filesystem::last_write_time(Path());
    };
    { CConfGlobal first(Path()); }
    auto yesterday = backDate();
    { CConfGlobal again(Path()); }
    EXPECT_EQ(std::filesystem::last_write_time(Path()), yesterday);

    TempDir::WriteBytes(Path(), "0005#extra = 0005#value\r\n");
    yesterday = backDate();
    { CConfGlobal completed(Path()); }
    EXPECT_NE(std::filesystem::last_write_time(Path()), yesterday);
    Qm_conf_solitude_File file(Path(), "#", "\r\n");
    EXPECT_EQ(file.Count(), 8u);
    file.Discard();
}

TEST_F(ConfGlobalTest, UnknownKeysSurviveLoadAndSave) {
    TempDir::WriteBytes(Path(), "0005#extra = 0005#value\r\n");
    CConfGlobal conf(Path());
    conf.SetEscExitOrHide(true);
    conf.Save();
    Qm_conf_solitude_File file(Path(), "#", "\r\n");
    EXPECT_EQ(file.Get("extra"), "value");
    EXPECT_EQ(file.Get("m_cs_esc_exit_or_hide"), "Yes");
    EXPECT_EQ(file.Count(), 8u);
    file.Discard();
}

TEST_F(ConfGlobalTest, ConfigureAppliesTheDialogValuesOnlyWhenSaved) {
    CConfGlobal conf(Path());
    CConfGlobal::SetDialogRunner([](const CConfGlobal::Values&, CConfGlobal::Values& out) {
        out.exitOrHide = true;
        out.hotkey = 196676;
        out.startupSearchTermS = "NT";
        return false;
    });
    EXPECT_FALSE(conf.Configure());
    EXPECT_EQ(conf.m_cs_exit_or_hide, "");
    CConfGlobal::SetDialogRunner([](const CConfGlobal::Values& in, CConfGlobal::Values& out) {
        out = in;
        out.exitOrHide = true;
        out.hotkey = 196676;
        return true;
    });
    EXPECT_TRUE(conf.Configure());
    EXPECT_EQ(conf.m_cs_exit_or_hide, "Yes");
    EXPECT_EQ(conf.m_cs_startup_window_hide, "No");
    EXPECT_EQ(conf.m_cs_hotkey, "196676");
    CConfGlobal::SetDialogRunner(nullptr);
}

TEST_F(ConfGlobalTest, AccessorSavesOnRelease) {
    SetExeDirForTesting(dir.path());
    GetConfGlobal().SetSearchedHistorySaved(true);
    EXPECT_TRUE(HasConfGlobal());
    ReleaseConfGlobal();
    EXPECT_FALSE(HasConfGlobal());
    EXPECT_TRUE(CConfGlobal(Path()).GetSearchedHistorySaved());
    SetExeDirForTesting("");
}

}  // namespace
