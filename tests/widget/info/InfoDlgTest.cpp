#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "controls/SortListCtrl.h"
#include "resources/AboutDialogIds.h"
#include "tests/support/TempDir.h"
#include "ui/info/AboutDlg.h"
#include "ui/info/InfoDlg.h"
#include "ui/info/InfoTexts.h"
#include "ui/main/MainTexts.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

// Runs an information window in `mode` and hands it to `body` once it is shown.
void RunInfo(const std::string& mode, const std::function<void(CInfoDlg&)>& body) {
    CInfoDlg dialog;
    dialog.SetMode(mode);
    QTimer::singleShot(0, &dialog, [&dialog, &body] {
        body(dialog);
        dialog.EndDialog(CDialogBase::kIdCancel);
    });
    dialog.DoModal();
}

std::vector<std::string> Rows(const CSortListCtrl& list) {
    std::vector<std::string> rows;
    for (int r = 0; r < list.GetRowCount(); ++r) {
        rows.emplace_back(list.Rows().CellText(r, 0));
    }
    return rows;
}

class InfoDlgTest : public ::testing::Test {
protected:
    void SetUp() override { SetExeDirForTesting(m_dir.path()); }
    void TearDown() override { SetExeDirForTesting(""); }
    std::vector<std::string> ReadmeShown(const std::string& bytes) {
        TempDir::WriteBytes(m_dir.file("readme.txt"), bytes);
        std::vector<std::string> rows;
        RunInfo("readme.txt", [&rows](CInfoDlg& dlg) { rows = Rows(*dlg.List()); });
        return rows;
    }
    TempDir m_dir;
};

TEST_F(InfoDlgTest, HelpModeShowsTheTwentySevenHelpRowsWithoutHeaderOrStripes) {
    RunInfo(gbk::FromUtf8("数据配置"), [](CInfoDlg& dlg) {
        const std::vector<std::string> rows = Rows(*dlg.List());
        ASSERT_EQ(rows.size(), 27u);
        EXPECT_EQ(rows.front(), gbk::FromUtf8("(1)“自动分域”的功能:"));
        EXPECT_EQ(rows[3], " ");
        EXPECT_EQ(rows.back(), gbk::FromUtf8("    可以弹出对话框以“删除”或修改后“更新”术语数据。"));
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Termix v1.2 (Vantrel英汉术语词典)"));
        EXPECT_FALSE(dlg.List()->horizontalHeader()->isVisible());
        EXPECT_FALSE(dlg.List()->Rows().GetStripes());
        EXPECT_FALSE(dlg.windowIcon().isNull());
        // Every row fits its column.
        const int widest = dlg.List()->fontMetrics().horizontalAdvance(
            QString::fromStdU16String(gbk::ToUtf16(rows[1])));
        EXPECT_GT(dlg.List()->columnWidth(0), widest);
    });
}

TEST_F(InfoDlgTest, AboutModeShowsTheAboutTextLineByLine) {
    const std::vector<std::string> expected = info_texts::SplitAtCrLf(main_texts::AboutText());
    ASSERT_GT(expected.size(), 5u);
    RunInfo(gbk::FromUtf8("关于"),
            [&expected](CInfoDlg& dlg) { EXPECT_EQ(Rows(*dlg.List()), expected); });
}

TEST(InfoTexts, CuttingAtCrLfKeepsTheBreaksAndBlankLines) {
    EXPECT_EQ(info_texts::SplitAtCrLf("a\r\n\r\nb\r\nrest"),
              (std::vector<std::string>{"a\r\n", "\r\n", "b\r\n"}));
    EXPECT_EQ(info_texts::SplitAtCrLf("no break"), std::vector<std::string>{});
    EXPECT_EQ(info_texts::SplitAtCrLf("a\nb\r\n"), std::vector<std::string>{"a\nb\r\n"});
}

TEST_F(InfoDlgTest, ReadmeModeShowsTheFileLineByLine) {
    EXPECT_EQ(ReadmeShown(""), std::vector<std::string>{});
    EXPECT_EQ(ReadmeShown("v1.2\r\n\r\nlast without break"),
              (std::vector<std::string>{"v1.2", "", "last without break"}));
    EXPECT_EQ(ReadmeShown(gbk::FromUtf8("第一行\n第二行\n")),
              (std::vector<std::string>{gbk::FromUtf8("第一行"), gbk::FromUtf8("第二行")}));
    // The column separator cuts a line as in every list fill.
    EXPECT_EQ(ReadmeShown("a|b\n"), std::vector<std::string>{"a"});
}

TEST_F(InfoDlgTest, AMissingReadmeGivesTheFailureRow) {
    const std::string path = m_dir.path() + "readme.txt";
    std::vector<std::string> rows;
    RunInfo("readme.txt", [&rows](CInfoDlg& dlg) { rows = Rows(*dlg.List()); });
    EXPECT_EQ(rows,
              std::vector<std::string>{gbk::FromUtf8("读“") + path + gbk::FromUtf8("”文件失败")});
}

TEST_F(InfoDlgTest, OtherModesShowNothing) {
    RunInfo("", [](CInfoDlg& dlg) { EXPECT_EQ(dlg.List()->GetRowCount(), 0); });
    RunInfo("README.TXT", [](CInfoDlg& dlg) { EXPECT_EQ(dlg.List()->GetRowCount(), 0); });
}

TEST_F(InfoDlgTest, TheListKeepsFifteenPixelsFromEachEdge) {
    RunInfo(gbk::FromUtf8("数据配置"), [](CInfoDlg& dlg) {
        auto expectMargins = [&dlg] {
            const QRect list = dlg.List()->geometry();
            EXPECT_EQ(list.topLeft(), QPoint(15, 15));
            EXPECT_EQ(list.width(), dlg.width() - 30);
            EXPECT_EQ(list.height(), dlg.height() - 30);
        };
        expectMargins();
        dlg.resize(900, 700);
        QTRY_COMPARE(dlg.size(), QSize(900, 700));
        expectMargins();
        dlg.showMaximized();
        QTRY_VERIFY(dlg.isMaximized());
        expectMargins();
    });
}

TEST(AboutDlg, ShowsTheProductLineAndClosesWithItsButton) {
    CAboutDlg dialog;
    std::string shown;
    QTimer::singleShot(0, &dialog, [&dialog, &shown] {
        shown = dialog.GetControlText(about_ids::kVersion);
        dialog.Control<QWidget>(1)->setFocus();
        QTest::keyClick(dialog.GetControl(1), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), CDialogBase::kIdOk);
    EXPECT_EQ(shown, gbk::FromUtf8("Termix v1.2 (Vantrel英汉术语词典)"));
}

}  // namespace
