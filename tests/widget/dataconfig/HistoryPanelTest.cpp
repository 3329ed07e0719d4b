// The operation history panel: the switch, the logged versions and put back, swap and delete.
#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "core/OperationLog.h"
#include "resources/DataConfigDialogIds.h"
#include "resources/TermEditDialogIds.h"
#include "tests/widget/dataconfig/DataConfigTestSupport.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/TermEditDlg.h"

using namespace dataconfig_ids;

namespace {

std::string Meaning(const std::string& term) {
    CTermRecord record;
    return GetGlossary().Get(term, record) ? U(record.m_cs_meaning) : "<absent>";
}

std::string LoggedMeaning(const std::string& term) {
    CTermRecord record;
    return GetOperationLog().Get(term, record) ? U(record.m_cs_meaning) : "<absent>";
}

// Right-clicks the term list's row, and in the editor sets the meaning (when given) and presses
// one of its buttons.
void EditRow(CDataConfigDlg& dlg, int row, int button, const char* meaning = nullptr) {
    auto opened = WhenOpened<CTermEditDlg>(dlg, [button, meaning](CTermEditDlg& editor) {
        if (meaning != nullptr) {
            SetText(editor, termedit_ids::kMeaningEdit, meaning);
        }
        Click(editor, button);
    });
    ClickRow(TermList(dlg), row, Qt::RightButton);
    EXPECT_TRUE(*opened);
}

}  // namespace

TEST_F(DataConfigTest, TheSwitchChangesPanelsAndTheirControls) {
    Seed({{"Actor", G("参与者"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        SetText(dlg, kTermEdit, "typed");
        Click(dlg, kPanelSwitch);
        EXPECT_EQ(Text(dlg, kPanelSwitch), "到数据配置");
        EXPECT_EQ(Text(dlg, kPanelLabel), "“操作历史”面板");
        EXPECT_EQ(Text(dlg, kTermEdit), "");
        EXPECT_TRUE(HistoryList(dlg).isVisibleTo(&dlg));
        EXPECT_FALSE(TermList(dlg).isVisibleTo(&dlg));
        EXPECT_TRUE(Rows(HistoryList(dlg)).empty());  // nothing changed yet in this run
        for (int id : {kTermEdit, kMeaningEdit, kExplainEdit, kToMain, kUpdate, kDelete, kAdd,
                       kAutoSplit, kOpenDirectory, kHelp, kAll, kNonLetter, kFirstLetter,
                       kLastLetter, kHistoryAdd, kHistoryDelete, kHistoryUpdate}) {
            EXPECT_FALSE(dlg.GetControl(id)->isEnabled()) << id;
        }
        for (int id : {kHistoryAdd, kHistoryDelete, kHistoryUpdate, kAdd, kClearInput}) {
            EXPECT_TRUE(dlg.GetControl(id)->isVisibleTo(&dlg)) << id;
        }
        EXPECT_TRUE(IsShownAndEnabled(dlg, kClearInput));

        Click(dlg, kPanelSwitch);
        EXPECT_EQ(Text(dlg, kPanelSwitch), "到操作历史");
        EXPECT_EQ(Text(dlg, kPanelLabel), "“数据配置”面板");
        EXPECT_EQ(Rows(TermList(dlg)), std::vector<std::string>{"Actor|参与者"});
        for (int id : {kTermEdit, kToMain, kAdd, kFirstLetter, kHelp}) {
            EXPECT_TRUE(IsShownAndEnabled(dlg, id)) << id;
        }
        for (int id : {kHistoryAdd, kHistoryDelete, kHistoryUpdate}) {
            EXPECT_FALSE(dlg.GetControl(id)->isVisibleTo(&dlg)) << id;
        }
    });
}

TEST_F(DataConfigTest, AnAddedTermCanBeDeletedFromTheHistoryAndPutBack) {
    RunWindow([&](CDataConfigDlg& dlg) {
        SetText(dlg, kTermEdit, "Actor");
        SetText(dlg, kMeaningEdit, "参与者");
        SetText(dlg, kExplainEdit, "解释");
        Click(dlg, kAdd);
        Click(dlg, kPanelSwitch);
        EXPECT_EQ(Rows(HistoryList(dlg)), std::vector<std::string>{"Actor|参与者"});

        ClickBelowRows(HistoryList(dlg));
        EXPECT_FALSE(dlg.GetControl(kHistoryDelete)->isEnabled());
        ClickRow(HistoryList(dlg), 0);
        EXPECT_EQ(Text(dlg, kTermEdit), "Actor");
        EXPECT_EQ(Text(dlg, kExplainEdit), "解释");
        EXPECT_TRUE(IsShownAndEnabled(dlg, kHistoryDelete));
        EXPECT_TRUE(IsShownAndEnabled(dlg, kHistoryUpdate));
        EXPECT_FALSE(dlg.GetControl(kHistoryAdd)->isVisibleTo(&dlg));

        Click(dlg, kHistoryDelete);
        EXPECT_FALSE(GetGlossary().Exists("Actor"));
        EXPECT_EQ(LoggedMeaning("Actor"), "参与者");
        EXPECT_EQ(Text(dlg, kTermEdit), "");
        EXPECT_EQ(Text(dlg, kCount), "-- 术语总数: 0 条 --");
        EXPECT_FALSE(dlg.GetControl(kHistoryDelete)->isEnabled());

        // After switching away and back the row is still there and offers only the put back.
        Click(dlg, kPanelSwitch);
        Click(dlg, kPanelSwitch);
        ClickRow(HistoryList(dlg), 0);
        EXPECT_TRUE(IsShownAndEnabled(dlg, kHistoryAdd));
        EXPECT_FALSE(dlg.GetControl(kHistoryDelete)->isVisibleTo(&dlg));
        Click(dlg, kHistoryAdd);
        CTermRecord back;
        ASSERT_TRUE(GetGlossary().Get("Actor", back));
        EXPECT_EQ(U(back.m_cs_explanation), "解释");
        EXPECT_EQ(Text(dlg, kCount), "-- 术语总数: 1 条 --");
    });
}

TEST_F(DataConfigTest, SwapExchangesTheLoggedAndTheStoredVersion) {
    Seed({{"Actor", G("甲"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        EditRow(dlg, 0, termedit_ids::kUpdateButton, "乙");
        EXPECT_EQ(Meaning("Actor"), "乙");
        Click(dlg, kPanelSwitch);
        EXPECT_EQ(Rows(HistoryList(dlg)), std::vector<std::string>{"Actor|甲"});
        ClickRow(HistoryList(dlg), 0);
        Click(dlg, kHistoryUpdate);
        EXPECT_EQ(Meaning("Actor"), "甲");
        EXPECT_EQ(LoggedMeaning("Actor"), "乙");
        EXPECT_EQ(Rows(HistoryList(dlg)), std::vector<std::string>{"Actor|甲"});  // not refilled

        // "到主界面" is disabled here; a close request saves but keeps the window.
        EXPECT_FALSE(dlg.GetControl(kToMain)->isEnabled());
        dlg.close();
        EXPECT_TRUE(dlg.IsRunning());
    });
    ASSERT_TRUE(StoredInFile("Actor"));
    EXPECT_EQ(U(StoredInFile("Actor")->m_cs_meaning), "甲");
}

TEST_F(DataConfigTest, TheLogKeepsOnlyTheVersionBeforeTheLatestChange) {
    Seed({{"Actor", G("甲"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        EditRow(dlg, 0, termedit_ids::kUpdateButton, "乙");
        EditRow(dlg, 0, termedit_ids::kUpdateButton, "丙");
        EXPECT_EQ(LoggedMeaning("Actor"), "乙");
        EXPECT_EQ(GetOperationLog().Count(), 1u);
    });
}
