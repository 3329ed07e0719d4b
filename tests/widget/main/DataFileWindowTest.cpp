// The main window on data files that are damaged or cannot be read: the user is told once, and
// nothing that was not read is lost.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "MainWindowFixture.h"
#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "resources/MainDialogIds.h"
#include "tests/support/PairRecordText.h"
#include "util/GbkText.h"

using F = MainWindowFixture;
namespace fs = std::filesystem;

namespace {

void Search(CTermixDlg& d, const char* text) {
    F::Input(d)->setFocus();
    F::Input(d)->setText(QString::fromUtf8(text));
    QTest::keyClick(F::Input(d), Qt::Key_Return);
}

class DataFileWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { F::SetUpProcess(); }
    void SetUp() override {
        F::Reset();
        TakeDamagedFileReports();
    }
    void TearDown() override {
        F::Reset();
        const fs::path dir = fs::path(F::DataFile("")).parent_path();
        for (const auto& entry : fs::directory_iterator(dir)) {
            fs::remove_all(entry.path());
        }
    }
    static std::string Copy(const char* suffix) {
        const fs::path file = F::DataFile(suffix);
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            if (entry.path().filename().string().rfind(file.filename().string() + ".damaged-", 0) ==
                0) {
                return TempDir::ReadBytes(entry.path().string());
            }
        }
        return "<no copy>";
    }
};

TEST_F(DataFileWindowTest, EachDamagedFileIsReportedOnceAndItsCopyOutlivesTheExit) {
    const std::string glossary =
        GlossaryRecord("UML") + GlossaryRecord("Actor") + "0077#Node" + GlossaryRecord("Package");
    const std::string history = PairRecord("UML", "UML") + "x" + PairRecord("Actor", "Actor");
    const std::string settings = PairRecord("m_cs_searched_history_saved", "Yes") + "0009#" +
                                 PairRecord("m_cs_hotkey", "196692");
    TempDir::WriteBytes(F::DataFile(CGlossary::kFileSuffix), glossary);
    TempDir::WriteBytes(F::DataFile(CHistroy::kFileSuffix), history);
    TempDir::WriteBytes(F::DataFile(CConfGlobal::kFileSuffix), settings);

    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        EXPECT_EQ(gbk::ToUtf8(F::Text(d, main_ids::kCount)), "-- 术语总数: 2 条 --");
        Search(d, "UML");
    });
    const std::vector<std::string>& messages = F::Messages();
    ASSERT_EQ(messages.size(), 3u);
    for (const char* suffix :
         {CGlossary::kFileSuffix, CHistroy::kFileSuffix, CConfGlobal::kFileSuffix}) {
        EXPECT_EQ(CountContaining(messages, F::DataFile(suffix) + "”已损坏"), 1u) << suffix;
    }
    EXPECT_EQ(CountContaining(messages, "之前的 2 条记录已读入"), 1u);  // the glossary
    EXPECT_EQ(Copy(CGlossary::kFileSuffix), glossary);
    EXPECT_EQ(Copy(CHistroy::kFileSuffix), history);
    EXPECT_EQ(Copy(CConfGlobal::kFileSuffix), settings);
    // The history was saved at exit: the copy still holds what the file no longer does.
    EXPECT_EQ(F::ReadFile(CHistroy::kFileSuffix).find("Actor"), std::string::npos);
}

TEST_F(DataFileWindowTest, AGlossaryThatCannotBeReadIsReportedOnceAndNeverReplaced) {
    fs::create_directory(F::DataFile(CGlossary::kFileSuffix));
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "UML");
        F::Button(d, main_ids::kAllButton)->click();
        Search(d, "Actor");
    });
    ASSERT_EQ(F::Messages().size(), 1u);
    EXPECT_EQ(CountContaining(F::Messages(), "读入配置文件(" + F::DataFile(CGlossary::kFileSuffix)),
              1u);
    EXPECT_TRUE(fs::is_directory(F::DataFile(CGlossary::kFileSuffix)));
}

}  // namespace
