// The term editing panel: adding, listing, picking, the side buttons and leaving the window.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include "controls/ColorLabel.h"
#include "controls/LinkLabel.h"
#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "core/OperationLog.h"
#include "resources/DataConfigDialogIds.h"
#include "tests/widget/dataconfig/DataConfigTestSupport.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/DirectoryOpener.h"
#include "ui/info/InfoDlg.h"

using namespace dataconfig_ids;

namespace {

void TypeTerm(CDataConfigDlg& dlg, const std::string& term, const std::string& meaning,
              const std::string& explain = "") {
    SetText(dlg, kTermEdit, term);
    SetText(dlg, kMeaningEdit, meaning);
    SetText(dlg, kExplainEdit, explain);
}

}  // namespace

TEST_F(DataConfigTest, OpensOnTheEmptyTermPanelWithTheGlossaryCount) {
    Seed({{"UML", G("统一建模语言"), ""}, {"Actor", G("参与者"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        EXPECT_EQ(Text(dlg, kTitle), "Termix v1.2 (Vantrel英汉术语词典)");
        EXPECT_EQ(Text(dlg, kPanelLabel), "“数据配置”面板");
        EXPECT_EQ(Text(dlg, kPanelSwitch), "到操作历史");
        EXPECT_EQ(Text(dlg, kCount), "-- 术语总数: 2 条 --");
        EXPECT_TRUE(Rows(TermList(dlg)).empty());
        EXPECT_TRUE(TermList(dlg).isVisibleTo(&dlg));
        EXPECT_FALSE(HistoryList(dlg).isVisibleTo(&dlg));
        for (int id : {kHistoryAdd, kHistoryDelete, kHistoryUpdate}) {
            EXPECT_FALSE(dlg.GetControl(id)->isVisibleTo(&dlg)) << id;
        }
        EXPECT_EQ(dlg.focusWidget(), dlg.GetControl(kTermEdit));

        const auto* label = dlg.Control<CColorLabel>(kPanelLabel);
        EXPECT_EQ(label->LabelColor(), QColor(125, 20, 40));
        EXPECT_TRUE(label->LabelFont().bold());
        EXPECT_EQ(label->LabelFont().pixelSize(), 16);
        const auto* link = dlg.Control<CLinkLabel>(kHomeLink);
        EXPECT_TRUE(link->Address().endsWith('/'));
        EXPECT_FALSE(link->IsUnderlined());
    });
}

TEST_F(DataConfigTest, AddStoresTheTermAppendsItsRowAndLogsIt) {
    Seed({{"UML", G("统一建模语言"), ""}, {"Actor", G("参与者"), ""}, {"Zone", G("区域"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kFirstLetter);  // "A"
        EXPECT_EQ(Rows(TermList(dlg)), std::vector<std::string>{"Actor|参与者"});

        // A term that does not match the letter shown is still appended, without sorting.
        TypeTerm(dlg, "Zebra", "斑马");
        Click(dlg, kAdd);
        EXPECT_EQ(Rows(TermList(dlg)), (std::vector<std::string>{"Actor|参与者", "Zebra|斑马"}));
        EXPECT_EQ(TermList(dlg).Rows().LastEnsuredRow(), 1);
        EXPECT_EQ(Text(dlg, kTermEdit), "");
        EXPECT_EQ(Text(dlg, kMeaningEdit), "");
        EXPECT_EQ(Text(dlg, kCount), "-- 术语总数: 4 条 --");
        EXPECT_TRUE(GetGlossary().Exists("Zebra"));
        CTermRecord logged;
        EXPECT_TRUE(GetOperationLog().Get("Zebra", logged));
        EXPECT_EQ(U(logged.m_cs_meaning), "斑马");

        // Nothing is trimmed, and the explanation may be empty.
        TypeTerm(dlg, "  ", "两个空格");
        Click(dlg, kAdd);
        EXPECT_TRUE(GetGlossary().Exists("  "));
        EXPECT_TRUE(TakeMessages().empty());
    });
    EXPECT_FALSE(StoredInFile("Zebra"));  // the add itself does not save
}

TEST_F(DataConfigTest, AnAddedTermIsScrolledFullyIntoViewBelowALongList) {
    std::vector<CTermRecord> many;
    for (int i = 0; i < 60; ++i) {
        many.push_back({"Term " + std::to_string(100 + i), G("术语"), ""});
    }
    Seed(many);
    RunWindow([&](CDataConfigDlg& dlg) {
        CSortListCtrl& list = TermList(dlg);
        for (const char* term : {"Zebra", "Zulu"}) {  // the second add scrolls a scrolled list
            Click(dlg, kAll);
            TypeTerm(dlg, term, "斑马");
            Click(dlg, kAdd);
            const QModelIndex last = list.model()->index(list.GetRowCount() - 1, 0);
            const QRect shown = list.visualRect(last);
            EXPECT_TRUE(list.viewport()->rect().contains(shown)) << term;
        }
    });
}

TEST_F(DataConfigTest, AddRefusesEmptyFieldsAndDuplicatesShowingTheStoredRecord) {
    Seed({{"UML", G("统一建模语言"), G("建模语言")}});
    RunWindow([&](CDataConfigDlg& dlg) {
        TypeTerm(dlg, "", "意思");
        Click(dlg, kAdd);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{"术语不可以为空!"});
        EXPECT_EQ(dlg.focusWidget(), dlg.GetControl(kTermEdit));

        TypeTerm(dlg, "Node", "");
        Click(dlg, kAdd);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{"汉意不可以为空!"});
        EXPECT_EQ(dlg.focusWidget(), dlg.GetControl(kMeaningEdit));

        TypeTerm(dlg, "UML", "别的意思", "别的解释");
        Click(dlg, kAdd);
        EXPECT_EQ(TakeMessages(),
                  std::vector<std::string>{"术语已经存在，不能增加同样的术语!\n\n术语: UML\n汉意: "
                                           "统一建模语言\n解释: 建模语言"});
        EXPECT_EQ(Text(dlg, kMeaningEdit), "别的意思");  // what was typed stays
        EXPECT_EQ(GetGlossary().GetCount(), 1);

        // Terms are compared exactly: uml is a new term.
        TypeTerm(dlg, "uml", "小写");
        Click(dlg, kAdd);
        EXPECT_TRUE(TakeMessages().empty());
        EXPECT_EQ(GetGlossary().GetCount(), 2);
    });
}

TEST_F(DataConfigTest, AddRefusesRecordsThatWouldNotReadBackIntact) {
    RunWindow([&](CDataConfigDlg& dlg) {
        TypeTerm(dlg, "Bell", std::string("响\a铃"));
        Click(dlg, kAdd);
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{
                                      "汉意中含有不能保存的控制字符(0x07 或 0x08)，请删除后再试!"});

        TypeTerm(dlg, "Long", "长", std::string(9994, 'x'));  // 4 + 2 + 9994 + 3 bytes
        Click(dlg, kAdd);
        const std::vector<std::string> messages = TakeMessages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("术语记录太长"), std::string::npos);
        EXPECT_EQ(dlg.focusWidget(), dlg.GetControl(kExplainEdit));
        EXPECT_EQ(GetGlossary().GetCount(), 0);
        EXPECT_EQ(GetOperationLog().Count(), 0u);

        TypeTerm(dlg, "Long", "长", std::string(9990, 'x'));  // exactly 9,999 bytes
        Click(dlg, kAdd);
        EXPECT_TRUE(TakeMessages().empty());
        Click(dlg, kToMain);
    });
    EXPECT_TRUE(StoredInFile("Long"));
}

TEST_F(DataConfigTest, LetterAllAndNonLetterButtonsListTheGlossary) {
    Seed({{"actor", "a", ""},
          {"Abstraction", "b", ""},
          {"Class", "c", ""},
          {"4+1", "d", ""},
          {G("类图"), "e", ""},
          {"Zone", "f", ""},
          {"Model", "g", ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        SetText(dlg, kTermEdit, "typed");
        Click(dlg, kFirstLetter);
        EXPECT_EQ(Rows(TermList(dlg)), (std::vector<std::string>{"Abstraction|b", "actor|a"}));
        Click(dlg, letter_ids::kLetterM);
        EXPECT_EQ(Rows(TermList(dlg)), std::vector<std::string>{"Model|g"});
        Click(dlg, kLastLetter);
        EXPECT_EQ(Rows(TermList(dlg)), std::vector<std::string>{"Zone|f"});
        Click(dlg, kNonLetter);
        EXPECT_EQ(Rows(TermList(dlg)), (std::vector<std::string>{"4+1|d", "类图|e"}));
        Click(dlg, kAll);
        EXPECT_EQ(Rows(TermList(dlg)).size(), 7u);
        EXPECT_EQ(Text(dlg, kTermEdit), "typed");
        // The count line counts the glossary, not the rows shown.
        Click(dlg, letter_ids::kFirstLower);  // "N"
        EXPECT_TRUE(Rows(TermList(dlg)).empty());
        EXPECT_EQ(Text(dlg, kCount), "-- 术语总数: 7 条 --");
    });
}

TEST_F(DataConfigTest, ClickingARowShowsItsRecordAndAnEmptyAreaChangesNothing) {
    Seed({{"UML", G("统一建模语言"), G("第一行\r\n第二行")}, {"Actor", G("参与者"), ""}});
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kAll);
        SetText(dlg, kTermEdit, "typed");
        ClickBelowRows(TermList(dlg));
        EXPECT_EQ(Text(dlg, kTermEdit), "typed");
        ClickRow(TermList(dlg), 1);
        EXPECT_EQ(Text(dlg, kTermEdit), "UML");
        EXPECT_EQ(Text(dlg, kMeaningEdit), "统一建模语言");
        EXPECT_EQ(Text(dlg, kExplainEdit), "第一行\r\n第二行");

        // A double-click only gives the term field the focus, with its text selected.
        dlg.GetControl(kMeaningEdit)->setFocus();
        QTest::mouseDClick(TermList(dlg).viewport(), Qt::LeftButton, {},
                           TermList(dlg).visualRect(TermList(dlg).model()->index(0, 0)).center());
        EXPECT_EQ(dlg.focusWidget(), dlg.GetControl(kTermEdit));
        EXPECT_EQ(dlg.Control<QLineEdit>(kTermEdit)->selectedText(), "UML");

        Click(dlg, kClearInput);
        EXPECT_EQ(Text(dlg, kTermEdit), "");
        EXPECT_EQ(Text(dlg, kExplainEdit), "");
        EXPECT_EQ(dlg.focusWidget(), dlg.GetControl(kTermEdit));
    });
}

TEST_F(DataConfigTest, OpenDirectoryAndHelpOpenTheirTargets) {
    QString opened;
    SetDirectoryOpenerForTesting([&opened](const QString& dir) { opened = dir; });
    RunWindow([&](CDataConfigDlg& dlg) {
        Click(dlg, kOpenDirectory);
        EXPECT_EQ(opened, m_dir.path() + "/");

        std::string mode;
        auto shown = WhenOpened<CInfoDlg>(dlg, [&mode](CInfoDlg& help) {
            mode = help.Mode();
            help.EndDialog(CDialogBase::kIdCancel);
        });
        Click(dlg, kHelp);
        EXPECT_TRUE(*shown);
        EXPECT_EQ(U(mode), "数据配置");
        EXPECT_TRUE(dlg.IsRunning());
    });
}

TEST_F(DataConfigTest, LeavingSavesTheGlossaryEvenWhenNothingChanged) {
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        QFile::remove(QString::fromStdString(GlossaryPath()));
        GetGlossary().Add({"UML", G("统一建模语言"), ""});
        RunWindow([&](CDataConfigDlg& dlg) {
            if (way == 0) {
                Click(dlg, kToMain);
            } else if (way == 1) {
                QTest::keyClick(&dlg, Qt::Key_Escape);
            } else {
                dlg.close();
            }
            EXPECT_FALSE(dlg.IsRunning());
        });
        EXPECT_TRUE(StoredInFile("UML"));
    }
}

TEST_F(DataConfigTest, EnterNeverClosesTheWindow) {
    RunWindow([&](CDataConfigDlg& dlg) {
        TypeTerm(dlg, "Node", "节点");
        QTest::keyClick(dlg.GetControl(kTermEdit), Qt::Key_Return);
        QTest::keyClick(dlg.GetControl(kMeaningEdit), Qt::Key_Enter);
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_EQ(Text(dlg, kTermEdit), "Node");
    });
}

TEST_F(DataConfigTest, AFailedSaveKeepsTheWindowOpenWithItsChanges) {
    RunWindow([&](CDataConfigDlg& dlg) {
        TypeTerm(dlg, "Node", "节点");
        Click(dlg, kAdd);
        // Without its directory the glossary file cannot be written.
        ASSERT_TRUE(QDir(m_dir.path()).removeRecursively());
        Click(dlg, kToMain);
        dlg.close();
        const std::vector<std::string> messages = TakeMessages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_NE(messages[0].find("写入配置文件"), std::string::npos);
        EXPECT_NE(messages[0].find("修改仍然保留"), std::string::npos);
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_TRUE(GetGlossary().Exists("Node"));

        // The user can retry once the problem is gone.
        ASSERT_TRUE(QDir().mkpath(m_dir.path()));
        Click(dlg, kToMain);
        EXPECT_FALSE(dlg.IsRunning());
    });
    EXPECT_TRUE(StoredInFile("Node"));
}

TEST_F(DataConfigTest, AnUnreadableGlossaryKeepsTheWindowClosed) {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(GlossaryPath())));  // reading it fails
    CDataConfigDlg dlg;
    bool opened = false;
    QTimer::singleShot(0, &dlg, [&dlg, &opened] {
        opened = true;
        dlg.EndDialog(CDialogBase::kIdCancel);
    });
    EXPECT_EQ(dlg.DoModal(), CDialogBase::kIdCancel);
    EXPECT_FALSE(opened);
    const std::vector<std::string> messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("术语库无法读入"), std::string::npos);
}
