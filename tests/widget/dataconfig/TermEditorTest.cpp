// The term popup editor opened from the term list: delete, update, close, and the rows it must
// not open for.
#include <QLineEdit>
#include <QTest>

#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "core/OperationLog.h"
#include "resources/DataConfigDialogIds.h"
#include "resources/TermEditDialogIds.h"
#include "tests/widget/dataconfig/DataConfigTestSupport.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/TermEditDlg.h"
#include "util/GbkText.h"

using namespace dataconfig_ids;

namespace {

constexpr int kEditorClose = 2;
constexpr int kEditorDelete = termedit_ids::kDeleteButton;
constexpr int kEditorUpdate = termedit_ids::kUpdateButton;
constexpr int kEditorMeaning = termedit_ids::kMeaningEdit;

const std::vector<CTermRecord> kSeed = {{"Actor", gbk::FromUtf8("甲"), gbk::FromUtf8("旧解释")},
                                        {"UML", gbk::FromUtf8("统一建模语言"), ""}};

}  // namespace

TEST_F(DataConfigTest, EditorDeleteRemovesTheRowAndLogsTheDeletedRecord) {
    Seed(kSeed);
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        ClickRow(TermList(dlg), 0);
        auto opened = WhenOpened<CTermEditDlg>(dlg, [](CTermEditDlg& editor) {
            EXPECT_EQ(Text(editor, termedit_ids::kTermEdit), "Actor");
            EXPECT_EQ(Text(editor, kEditorMeaning), "甲");
            EXPECT_EQ(editor.focusWidget(), editor.GetControl(kEditorMeaning));
            EXPECT_TRUE(editor.Control<QLineEdit>(termedit_ids::kTermEdit)->isReadOnly());
            Click(editor, kEditorDelete);
        });
        Click(dlg, kDelete);
        ASSERT_TRUE(*opened);
        EXPECT_EQ(Rows(TermList(dlg)), std::vector<std::string>{"UML|统一建模语言"});
        EXPECT_EQ(Text(dlg, kCount), "-- 术语总数: 1 条 --");
        EXPECT_EQ(Text(dlg, kTermEdit), "");
        EXPECT_EQ(Text(dlg, kMeaningEdit), "");
        CTermRecord logged;
        ASSERT_TRUE(GetOperationLog().Get("Actor", logged));
        EXPECT_EQ(U(logged.m_cs_explanation), "旧解释");

        // Right after a deletion no row is current: "删除" and "更新" open nothing.
        auto again = WhenOpened<CTermEditDlg>(
            dlg, [](CTermEditDlg& editor) { editor.EndDialog(CDialogBase::kIdCancel); });
        Click(dlg, kDelete);
        Click(dlg, kUpdate);
        ClickBelowRows(TermList(dlg), Qt::RightButton);  // nor does a press on no row
        Click(dlg, kUpdate);
        QTest::qWait(1);
        EXPECT_FALSE(*again);
    });
}

TEST_F(DataConfigTest, EditorUpdateRewritesTheMeaningAndLogsThePreviousVersion) {
    Seed(kSeed);
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        ClickRow(TermList(dlg), 1);  // the fields show UML
        auto opened = WhenOpened<CTermEditDlg>(dlg, [](CTermEditDlg& editor) {
            SetText(editor, kEditorMeaning, "乙");
            Click(editor, kEditorUpdate);
        });
        ClickRow(TermList(dlg), 0, Qt::RightButton);
        ASSERT_TRUE(*opened);
        EXPECT_EQ(Rows(TermList(dlg))[0], "Actor|乙");
        EXPECT_EQ(Text(dlg, kMeaningEdit), "乙");
        EXPECT_EQ(Text(dlg, kExplainEdit), "旧解释");
        EXPECT_EQ(Text(dlg, kTermEdit), "UML");
        CTermRecord logged;
        ASSERT_TRUE(GetOperationLog().Get("Actor", logged));
        EXPECT_EQ(U(logged.m_cs_meaning), "甲");

        // An emptied meaning is stored empty.
        WhenOpened<CTermEditDlg>(dlg, [](CTermEditDlg& editor) {
            SetText(editor, kEditorMeaning, "");
            Click(editor, kEditorUpdate);
        });
        ClickRow(TermList(dlg), 0, Qt::RightButton);
        EXPECT_EQ(Rows(TermList(dlg))[0], "Actor|");
        ASSERT_TRUE(GetGlossary().Get("Actor", logged));
        EXPECT_EQ(logged.m_cs_meaning, "");
    });
}

TEST_F(DataConfigTest, ClosingTheEditorChangesNothing) {
    Seed(kSeed);
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        for (bool byEscape : {false, true}) {
            auto opened = WhenOpened<CTermEditDlg>(dlg, [byEscape](CTermEditDlg& editor) {
                SetText(editor, kEditorMeaning, "乙");
                if (byEscape) {
                    QTest::keyClick(editor.GetControl(kEditorMeaning), Qt::Key_Escape);
                } else {
                    Click(editor, kEditorClose);
                }
            });
            ClickRow(TermList(dlg), 0, Qt::RightButton);
            ASSERT_TRUE(*opened);
        }
        EXPECT_EQ(Rows(TermList(dlg))[0], "Actor|甲");
        EXPECT_EQ(GetOperationLog().Count(), 0u);
        CTermRecord stored;
        ASSERT_TRUE(GetGlossary().Get("Actor", stored));
        EXPECT_EQ(U(stored.m_cs_meaning), "甲");
    });
}

TEST_F(DataConfigTest, EditorRefusesAnUpdateThatWouldNotReadBackAndStaysOpen) {
    Seed(kSeed);
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        bool stayed = false;
        WhenOpened<CTermEditDlg>(dlg, [&stayed](CTermEditDlg& editor) {
            SetText(editor, kEditorMeaning, "a\bb");
            Click(editor, kEditorUpdate);
            stayed = editor.IsRunning();
            Click(editor, kEditorClose);
        });
        ClickRow(TermList(dlg), 0, Qt::RightButton);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{
                                      "汉意中含有不能保存的控制字符(0x07 或 0x08)，请删除后再试!"});
        EXPECT_EQ(Rows(TermList(dlg))[0], "Actor|甲");
        EXPECT_EQ(GetOperationLog().Count(), 0u);
    });
}

TEST_F(DataConfigTest, EditorDoesNotOpenForARowWhoseTermIsGone) {
    Seed(kSeed);
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        // Delete Actor through the history panel; the term list keeps its stale row.
        GetOperationLog().Add(kSeed[0]);
        Click(dlg, kPanelSwitch);
        ClickRow(HistoryList(dlg), 0);
        Click(dlg, kHistoryDelete);
        Click(dlg, kPanelSwitch);
        ASSERT_EQ(Rows(TermList(dlg))[0], "Actor|甲");

        auto opened = WhenOpened<CTermEditDlg>(
            dlg, [](CTermEditDlg& editor) { editor.EndDialog(CDialogBase::kIdCancel); });
        ClickRow(TermList(dlg), 0, Qt::RightButton);
        QTest::qWait(1);
        EXPECT_FALSE(*opened);
        const std::vector<std::string> messages = TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("不在术语库中"), std::string::npos);
        EXPECT_FALSE(GetGlossary().Exists(""));
    });
}
