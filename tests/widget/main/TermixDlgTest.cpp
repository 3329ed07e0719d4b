#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>

#include "../QtGTest.h"
#include "MainWindowFixture.h"
#include "core/ConfGlobal.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "core/HotkeyValue.h"
#include "resources/AboutDialogIds.h"
#include "resources/DataConfigDialogIds.h"
#include "resources/MainDialogIds.h"
#include "resources/SettingsDialogIds.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/info/AboutDlg.h"
#include "ui/info/InfoDlg.h"
#include "ui/main/MainTexts.h"
#include "ui/settings/SysConfigDlg.h"
#include "util/GbkText.h"

using F = MainWindowFixture;
using namespace main_ids;
using namespace std::chrono_literals;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}
// A control's text (GBK) for comparison with UTF-8 literals.
QString T(CTermixDlg& d, int id) {
    return QString::fromStdString(gbk::ToUtf8(d.GetControlText(id)));
}
void Type(QWidget* widget, const char* text) {
    widget->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->clear();
    }
    QTest::keyClicks(widget, Q(text));
}
void Search(CTermixDlg& d, const char* text) {
    Type(F::Input(d), text);
    QTest::keyClick(F::Input(d), Qt::Key_Return);
}
QString ClipboardText() {
    return QGuiApplication::clipboard()->text();
}

}  // namespace

class TermixDlgTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { F::SetUpProcess(); }
    void SetUp() override {
        F::Reset();
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override { F::Reset(); }
};

TEST_F(TermixDlgTest, FirstStartShowsTheAboutEntryAndWritesTheSettingsFile) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        EXPECT_EQ(d.windowTitle(), Q("Termix v1.2 (Vantrel英汉术语词典)"));
        EXPECT_EQ(T(d, kCount), Q("-- 术语总数: 0 条 --"));
        EXPECT_EQ(T(d, kTerm), Q("About Termix"));
        EXPECT_EQ(T(d, kMeaning), Q("关于 Termix"));
        EXPECT_EQ(d.GetControlText(kExplain), main_texts::AboutText());
        EXPECT_TRUE(T(d, kInput).isEmpty());
        EXPECT_TRUE(T(d, kCopyText).isEmpty());
        EXPECT_TRUE(T(d, kSummary).isEmpty());
        EXPECT_EQ(F::List(d)->GetRowCount(), 0);
        EXPECT_EQ(F::List(d)->GetColumnCount(), 2);
        EXPECT_EQ(d.focusWidget(), F::Input(d));
    });
    EXPECT_TRUE(d.HasEnded());
    EXPECT_TRUE(F::Messages().empty());
    // An empty hotkey setting grabs nothing and reports nothing.
    EXPECT_EQ(hotkey.calls.size(), size_t{1});
    EXPECT_EQ(hotkey.calls[0].id, 1026);
    EXPECT_EQ(hotkey.calls[0].virtualKey, 0u);
    const std::string settings = F::ReadFile(CConfGlobal::kFileSuffix);
    for (const char* key :
         {"m_cs_startup_window_hide", "m_cs_exit_or_hide", "m_cs_esc_exit_or_hide",
          "m_cs_startup_search_term_b", "m_cs_startup_search_term_s", "m_cs_hotkey",
          "m_cs_searched_history_saved"}) {
        EXPECT_TRUE(settings.find(key) != std::string::npos) << key;
    }
}

TEST_F(TermixDlgTest, StartupCountsTheGlossaryAndRegistersTheStoredHotkey) {
    F::WriteStandardGlossary();
    F::WriteSettings([](CConfGlobal& s) { s.SetHotkey(196692); });
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] { EXPECT_EQ(T(d, kCount), Q("-- 术语总数: 6 条 --")); });
    EXPECT_EQ(hotkey.calls.size(), size_t{1});
    EXPECT_EQ(hotkey.calls[0].modifiers, 3u);    // Ctrl+Alt
    EXPECT_EQ(hotkey.calls[0].virtualKey, 84u);  // T
    EXPECT_TRUE(F::Messages().empty());
}

TEST_F(TermixDlgTest, ARefusedHotkeyIsReportedAndStartupGoesOn) {
    F::WriteStandardGlossary();
    F::WriteSettings([](CConfGlobal& s) { s.SetHotkey(196692); });
    FakeGlobalHotkey hotkey;
    hotkey.refuse = true;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        EXPECT_EQ(T(d, kCount), Q("-- 术语总数: 6 条 --"));
        EXPECT_EQ(T(d, kTerm), Q("About Termix"));
    });
    EXPECT_EQ(F::Messages(), std::vector<std::string>{GBK("向系统注册 Termix 热键失败!")});
}

TEST_F(TermixDlgTest, AHotkeyTheDesktopRefusesLaterIsReportedOnce) {
    F::WriteSettings([](CConfGlobal& s) { s.SetHotkey(196692); });
    FakeGlobalHotkey hotkey;
    hotkey.answerLater = true;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        EXPECT_TRUE(F::Messages().empty());
        hotkey.Finish(1026, false);
        hotkey.Finish(1026, false);  // a later registration's answer is the dialog's to report
    });
    EXPECT_EQ(F::Messages(), std::vector<std::string>{GBK("向系统注册 Termix 热键失败!")});
}

// Without a desktop-wide hotkey (Wayland, no portal) the user learns how to bind a desktop
// shortcut, unless no hotkey is set: from a notification of the tray icon, never from a box that
// holds the start up. Offscreen there is no notification area, so the tray icon logs it.
TEST_F(TermixDlgTest, AHotkeyThatIsNotDesktopWideBringsTheDesktopShortcutHint) {
    for (const long stored : {196692L, 0L}) {
        ReleaseConfGlobal();
        F::Messages().clear();
        F::WriteSettings([stored](CConfGlobal& s) { s.SetHotkey(stored); });
        FakeGlobalHotkey hotkey;
        hotkey.desktopWide = false;
        CTermixDlg d(hotkey);
        F::Run(d, [] { EXPECT_EQ(QApplication::activeModalWidget(), nullptr); });
        // Offscreen there is no notification area: the hint comes in the box that does not wait.
        EXPECT_FALSE(d.TrayIcon().IsAdded());
        EXPECT_EQ(CountContaining(F::Messages(), "命令为 termix"), stored == 0 ? 0 : 1) << stored;
    }
}

TEST_F(TermixDlgTest, HistoryIsLoadedOnlyWhenItsSettingIsOn) {
    F::WriteStandardGlossary();
    F::WriteHistory({"UML", "zzz"});
    for (const bool on : {true, false}) {
        ReleaseGlossary();
        ReleaseConfGlobal();
        GetSearchHistory().RemoveAll();
        F::WriteSettings([on](CConfGlobal& s) { s.SetSearchedHistorySaved(on); });
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            F::Button(d, kHistoryButton)->click();
            if (on) {
                EXPECT_EQ(F::Terms(d), (std::vector<std::string>{"UML", "zzz"}));
                EXPECT_EQ(F::List(d)->Rows().CellText(0, 1), GBK("统一建模语言"));
                EXPECT_EQ(F::List(d)->Rows().CellText(1, 1), std::string("......"));
            } else {
                EXPECT_EQ(F::List(d)->GetRowCount(), 0);
            }
        });
    }
    // With the setting off the file is neither read nor written.
    const std::string history = F::ReadFile(CHistroy::kFileSuffix);
    EXPECT_TRUE(history.find("zzz") != std::string::npos);
}

TEST_F(TermixDlgTest, TheStartupWorkerHidesThenSearches) {
    F::WriteStandardGlossary();
    F::WriteSettings([](CConfGlobal& s) {
        s.SetStartupWindowHide(true);
        s.SetStartupSearchTermB(true);
        s.SetStartupSearchTermS("use case");
    });
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    d.SetStartupDelaysForTesting(StartupDelays{10ms, 20ms});
    F::Run(d, [&] {
        TRY_EXPECT_TRUE(!d.isVisible());
        TRY_EXPECT_TRUE(d.StartupWorkerFinished());
        TRY_EXPECT_EQ(T(d, kSummary), Q("搜索: use case\r\n结果: 2 个术语 (存在完全匹配的)"));
        EXPECT_TRUE(!d.isVisible());
        EXPECT_EQ(T(d, kInput), Q("use case"));
        EXPECT_EQ(T(d, kMeaning), Q("用例"));
        EXPECT_EQ(F::List(d)->GetRowCount(), 2);
        // The result is there when the window comes back.
        d.ShowMainWindow(true);
        TRY_EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(T(d, kCopyText), Q("用例(use case)"));
    });
    EXPECT_TRUE(GetSearchHistory().Contains("use case"));
}

TEST_F(TermixDlgTest, TheStartupSearchRunsOnlyWhenSwitchedOn) {
    F::WriteStandardGlossary();
    F::WriteSettings([](CConfGlobal& s) {
        s.SetStartupSearchTermB(false);
        s.SetStartupSearchTermS("UML");
        s.m_cs_startup_window_hide = "yes";  // only exactly "Yes" counts
    });
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    d.SetStartupDelaysForTesting(StartupDelays{5ms, 5ms});
    F::Run(d, [&] {
        TRY_EXPECT_TRUE(d.StartupWorkerFinished());
        QTest::qWait(20);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(F::List(d)->GetRowCount(), 0);
        EXPECT_TRUE(T(d, kSummary).isEmpty());
        EXPECT_EQ(T(d, kTerm), Q("About Termix"));
    });
}

TEST_F(TermixDlgTest, KeywordSearchWritesItsSummaryShowsExactTermsAndRecordsHits) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "use");
        EXPECT_EQ(F::List(d)->GetRowCount(), 2);
        EXPECT_EQ(T(d, kSummary), Q("搜索: use\r\n结果: 2 个术语 (不存在完全匹配的)"));
        EXPECT_TRUE(T(d, kTerm).isEmpty());
        EXPECT_TRUE(T(d, kExplain).isEmpty());
        EXPECT_TRUE(T(d, kCopyText).isEmpty());
        EXPECT_EQ(T(d, kInput), Q("use"));

        Search(d, "use case");
        EXPECT_EQ(T(d, kSummary), Q("搜索: use case\r\n结果: 2 个术语 (存在完全匹配的)"));
        EXPECT_EQ(T(d, kTerm), Q("use case"));
        EXPECT_EQ(T(d, kMeaning), Q("用例"));
        EXPECT_EQ(T(d, kExplain), Q("系统提供的一项功能。\r\n第二行"));
        EXPECT_EQ(T(d, kCopyText), Q("用例(use case)"));
        EXPECT_EQ(d.focusWidget(), F::Input(d));
        EXPECT_EQ(F::Input(d)->selectedText(), Q("use case"));

        // The exact test is case-sensitive; the list is not.
        Search(d, "USE CASE");
        EXPECT_EQ(T(d, kSummary), Q("搜索: USE CASE\r\n结果: 2 个术语 (不存在完全匹配的)"));
        EXPECT_TRUE(T(d, kTerm).isEmpty());
        EXPECT_TRUE(T(d, kMeaning).isEmpty());
        EXPECT_EQ(T(d, kInput), Q("USE CASE"));

        Search(d, "zzz");
        EXPECT_EQ(F::List(d)->GetRowCount(), 0);
        EXPECT_EQ(T(d, kSummary), Q("搜索: zzz\r\n结果: 0 个术语 (不存在完全匹配的)"));

        // The empty keyword lists every term.
        Search(d, "");
        EXPECT_EQ(F::List(d)->GetRowCount(), 6);
        EXPECT_EQ(T(d, kSummary), Q("搜索: \r\n结果: 6 个术语 (不存在完全匹配的)"));
    });
    CHistroy& history = GetSearchHistory();
    EXPECT_TRUE(history.Contains("use"));
    EXPECT_TRUE(history.Contains("use case"));
    EXPECT_TRUE(history.Contains("USE CASE"));
    EXPECT_TRUE(history.Contains(""));
    EXPECT_TRUE(!history.Contains("zzz"));
}

TEST_F(TermixDlgTest, EnterSearchesFromEveryControl) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Type(F::Input(d), "UML");
        // In the multi-line explanation: a search, no line break.
        auto* explain = d.Control<QPlainTextEdit>(kExplain);
        explain->setFocus();
        QTest::keyClick(explain, Qt::Key_Return);
        EXPECT_EQ(T(d, kSummary), Q("搜索: UML\r\n结果: 1 个术语 (存在完全匹配的)"));
        EXPECT_TRUE(T(d, kExplain).isEmpty());

        // On a focused button: a search, not the button's own command.
        Type(F::Input(d), "model");
        QAbstractButton* all = F::Button(d, kAllButton);
        all->setFocus();
        QTest::keyClick(all, Qt::Key_Enter);
        EXPECT_EQ(T(d, kSummary), Q("搜索: model\r\n结果: 1 个术语 (存在完全匹配的)"));

        // The search button does the same.
        Type(F::Input(d), "Meta");
        F::Button(d, kSearch)->click();
        EXPECT_EQ(T(d, kSummary), Q("搜索: Meta\r\n结果: 1 个术语 (不存在完全匹配的)"));
    });
}

TEST_F(TermixDlgTest, LetterAllAndNonLetterButtonsListWithTheirSummaries) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        F::Button(d, letter_ids::kLetterM)->click();
        EXPECT_EQ(T(d, kSummary), Q("搜索首写字母为 M 或 m 的所有术语\r\n结果: 2 个术语"));
        EXPECT_EQ(F::List(d)->GetRowCount(), 2);
        EXPECT_EQ(d.focusWidget(), F::Input(d));
        // The details stay as they were.
        EXPECT_EQ(T(d, kTerm), Q("About Termix"));

        F::Button(d, letter_ids::kFirstLower + 7)->click();  // U
        EXPECT_EQ(T(d, kSummary), Q("搜索首写字母为 U 或 u 的所有术语\r\n结果: 3 个术语"));
        F::Button(d, letter_ids::kLetterZ)->click();
        EXPECT_EQ(T(d, kSummary), Q("搜索首写字母为 Z 或 z 的所有术语\r\n结果: 0 个术语"));

        F::Button(d, kAllButton)->click();
        EXPECT_EQ(T(d, kSummary), Q("共有 6 个术语"));
        EXPECT_EQ(F::List(d)->GetRowCount(), 6);

        F::Button(d, kNonLetterButton)->click();
        EXPECT_EQ(T(d, kSummary), Q("搜索不以26个英文字母开头的所有术语\r\n结果: 1 个术语"));
        EXPECT_EQ(F::Terms(d), std::vector<std::string>{"1NF"});
    });
    EXPECT_EQ(GetSearchHistory().Count(), size_t{0});
}

TEST_F(TermixDlgTest, AllOnAnEmptyGlossaryCountsNothing) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        F::Button(d, kAllButton)->click();
        EXPECT_EQ(T(d, kSummary), Q("共有 0 个术语"));
    });
}

TEST_F(TermixDlgTest, HistoryButtonPutsThePreviousInputBack) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "UML");
        Search(d, "use");
        Type(F::Input(d), "typed but not searched");
        F::Button(d, kHistoryButton)->click();
        EXPECT_EQ(T(d, kInput), Q("use"));
        EXPECT_EQ(F::Input(d)->selectedText(), Q("use"));
        EXPECT_TRUE(T(d, kSummary).isEmpty());
        EXPECT_TRUE(T(d, kTerm).isEmpty());
        EXPECT_TRUE(T(d, kMeaning).isEmpty());
        EXPECT_TRUE(T(d, kCopyText).isEmpty());
        EXPECT_EQ(F::Terms(d), (std::vector<std::string>{"UML", "use"}));
    });
}

TEST_F(TermixDlgTest, ClickingARowShowsItsTermOrSearchesItAgain) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "use");
        F::ClickRow(d, "use case");
        EXPECT_EQ(T(d, kTerm), Q("use case"));
        EXPECT_EQ(T(d, kMeaning), Q("用例"));
        EXPECT_EQ(T(d, kCopyText), Q("用例(use case)"));
        EXPECT_EQ(T(d, kInput), Q("use case"));
        EXPECT_EQ(d.focusWidget(), static_cast<QWidget*>(F::List(d)));
        EXPECT_EQ(T(d, kSummary), Q("搜索: use\r\n结果: 2 个术语 (不存在完全匹配的)"));

        // A history row that is no term runs its search again.
        F::Button(d, kHistoryButton)->click();
        F::ClickRow(d, "use");
        EXPECT_EQ(T(d, kSummary), Q("搜索: use\r\n结果: 2 个术语 (不存在完全匹配的)"));
        EXPECT_EQ(F::List(d)->GetRowCount(), 2);
        EXPECT_EQ(T(d, kInput), Q("use"));
        EXPECT_EQ(d.focusWidget(), F::Input(d));
        EXPECT_EQ(F::Input(d)->selectedText(), Q("use"));

        // A double-click only returns the focus to the input.
        F::ClickRow(d, "Use Case Diagram");
        EXPECT_EQ(d.focusWidget(), static_cast<QWidget*>(F::List(d)));
        const QRect cell = F::List(d)->visualRect(F::List(d)->model()->index(0, 0));
        QTest::mouseDClick(F::List(d)->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(d.focusWidget(), F::Input(d));
    });
}

TEST_F(TermixDlgTest, CopyPutsTheCopyFieldOnTheClipboard) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "use case");
        F::Button(d, kCopyButton)->click();
        EXPECT_EQ(ClipboardText(), Q("用例(use case)"));
        EXPECT_EQ(d.focusWidget(), F::Input(d));

        // The user's own edit of the copy field is what is copied.
        d.Control<QLineEdit>(kCopyText)->setText(Q("编辑过的"));
        F::Button(d, kCopyButton)->click();
        EXPECT_EQ(ClipboardText(), Q("编辑过的"));

        Search(d, "zzz");
        F::Button(d, kCopyButton)->click();
        EXPECT_TRUE(ClipboardText().isEmpty());
    });
}

TEST_F(TermixDlgTest, EscapeHidesOrExitsAsConfigured) {
    F::WriteStandardGlossary();
    F::WriteSettings([](CConfGlobal& s) {
        s.SetEscExitOrHide(true);
        s.SetSearchedHistorySaved(true);
    });
    {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Search(d, "UML");
            QTest::keyClick(F::Input(d), Qt::Key_Escape);
            EXPECT_TRUE(!d.isVisible());
            EXPECT_TRUE(!d.HasEnded());
            // Hiding writes nothing.
            EXPECT_TRUE(!TempDir::Exists(F::DataFile(CHistroy::kFileSuffix)));
        });
    }
    F::Reset();
    F::WriteStandardGlossary();
    F::WriteSettings([](CConfGlobal& s) {
        s.SetEscExitOrHide(false);
        s.SetSearchedHistorySaved(true);
    });
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "model");
        QTest::keyClick(F::Input(d), Qt::Key_Escape);
        EXPECT_TRUE(d.HasEnded());
    });
    EXPECT_EQ(F::ReadFile(CHistroy::kFileSuffix), std::string("0005#model = 0005#model\r\n"));
    EXPECT_TRUE(!HasConfGlobal());
    EXPECT_TRUE(
        F::ReadFile(CConfGlobal::kFileSuffix).find("0021#m_cs_esc_exit_or_hide = 0002#No") !=
        std::string::npos);
}

TEST_F(TermixDlgTest, TheCloseCommandHidesOrExitsAsConfigured) {
    for (const bool hides : {true, false}) {
        F::Reset();
        F::WriteSettings([hides](CConfGlobal& s) { s.SetExitOrHide(hides); });
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            d.close();
            EXPECT_EQ(d.HasEnded(), !hides);
            EXPECT_TRUE(!d.isVisible() || !hides);
            if (hides) {
                EXPECT_TRUE(!d.isVisible());
            }
        });
    }
}

TEST_F(TermixDlgTest, TheExitButtonAndACloseRequestAlwaysExit) {
    auto hideEverything = [](CConfGlobal& s) {
        s.SetExitOrHide(true);
        s.SetEscExitOrHide(true);
        s.SetSearchedHistorySaved(true);
    };
    F::WriteStandardGlossary();
    F::WriteSettings(hideEverything);
    {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            F::Button(d, kExitButton)->click();
            EXPECT_TRUE(d.HasEnded());
        });
    }
    ReleaseGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "UML");
        d.ShowMainWindow(false);
        d.OnCloseRequest();
        EXPECT_TRUE(d.HasEnded());
    });
    EXPECT_TRUE(F::ReadFile(CHistroy::kFileSuffix).find("UML") != std::string::npos);
    EXPECT_TRUE(F::ReadFile(CConfGlobal::kFileSuffix).find("0017#m_cs_exit_or_hide = 0003#Yes") !=
                std::string::npos);
}

TEST_F(TermixDlgTest, ACloseRequestClosesAnOpenSettingsDialogFirst) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    bool dialogWasOpen = false;
    F::Run(d, [&] {
        F::WhenOpen<CSysConfigDlg>([&](CSysConfigDlg&) {
            dialogWasOpen = true;
            d.OnCloseRequest();
        });
        F::Button(d, kSysConfigButton)->click();
        EXPECT_TRUE(d.HasEnded());
    });
    EXPECT_TRUE(dialogWasOpen);
    EXPECT_TRUE(!HasConfGlobal());
}

TEST_F(TermixDlgTest, ACloseRequestLetsAnOpenDataConfigurationWindowSaveFirst) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        F::WhenOpen<CDataConfigDlg>([&](CDataConfigDlg&) {
            GetGlossary().Add(CTermRecord("added before the request", "m", ""));
            d.OnCloseRequest();
        });
        F::Button(d, kDataConfigButton)->click();
        EXPECT_TRUE(d.HasEnded());
    });
    CGlossary saved(F::DataFile(CGlossary::kFileSuffix));
    EXPECT_TRUE(saved.Exists("added before the request"));
    EXPECT_EQ(saved.GetCount(), 7L);
}

TEST_F(TermixDlgTest, TrayCommandsAndTheHotkeyShowAndHide) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        emit d.TrayIcon().commandChosen(32772);
        EXPECT_TRUE(!d.isVisible());
        emit d.TrayIcon().commandChosen(32771);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(!d.isMinimized());

        d.ShowMainWindow(false);
        hotkey.Press(hotkey::kHotkeyId - 1);  // not ours
        EXPECT_TRUE(!d.isVisible());
        hotkey.Press(hotkey::kHotkeyId);
        EXPECT_TRUE(d.isVisible());
        // The hotkey never hides a visible window.
        hotkey.Press(hotkey::kHotkeyId);
        EXPECT_TRUE(d.isVisible());

        d.showMinimized();
        hotkey.Press(hotkey::kHotkeyId);
        TRY_EXPECT_TRUE(!d.isMinimized());
    });
}

TEST_F(TermixDlgTest, DataConfigurationEmptiesTheResultsAndRecountsWhenItCloses) {
    F::WriteStandardGlossary();
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    bool opened = false;
    F::Run(d, [&] {
        Search(d, "use case");
        Type(F::Input(d), "typed");
        F::WhenOpen<CDataConfigDlg>([&](CDataConfigDlg& window) {
            opened = true;
            GetGlossary().Add(CTermRecord("new term", "n", ""));
            window.Control<QAbstractButton>(dataconfig_ids::kToMain)->click();
        });
        F::Button(d, kDataConfigButton)->click();
        EXPECT_TRUE(opened);
        EXPECT_EQ(F::List(d)->GetRowCount(), 0);
        EXPECT_TRUE(T(d, kSummary).isEmpty());
        EXPECT_TRUE(T(d, kTerm).isEmpty());
        EXPECT_TRUE(T(d, kCopyText).isEmpty());
        EXPECT_EQ(T(d, kCount), Q("-- 术语总数: 7 条 --"));
        EXPECT_EQ(T(d, kInput), Q("use case"));
        EXPECT_EQ(d.focusWidget(), F::Input(d));
    });
}

TEST_F(TermixDlgTest, SettingsSavedInTheDialogCountAtOnce) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        F::WhenOpen<CSysConfigDlg>([](CSysConfigDlg& dialog) {
            dialog.Control<QAbstractButton>(settings_ids::kEscHides)->click();
            dialog.Control<QAbstractButton>(settings_ids::kSave)->click();
        });
        F::Button(d, kSysConfigButton)->click();
        EXPECT_TRUE(GetConfGlobal().GetEscExitOrHide());
        EXPECT_EQ(d.focusWidget(), F::Input(d));
        QTest::keyClick(F::Input(d), Qt::Key_Escape);
        EXPECT_TRUE(!d.isVisible());
        EXPECT_TRUE(!d.HasEnded());
    });
}

TEST_F(TermixDlgTest, InformationButtonsOpenTheirModes) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    std::vector<std::string> modes;
    auto closeInfo = [&modes](CInfoDlg& window) {
        modes.push_back(window.Mode());
        window.EndDialog(CDialogBase::kIdCancel);
    };
    F::Run(d, [&] {
        F::WhenOpen<CInfoDlg>(closeInfo);
        F::Button(d, kAboutButton)->click();
        F::WhenOpen<CInfoDlg>(closeInfo);
        F::Button(d, kDevLogButton)->click();
        EXPECT_EQ(d.focusWidget(), F::Input(d));
    });
    EXPECT_EQ(modes, (std::vector<std::string>{GBK("关于"), "readme.txt"}));
}

TEST_F(TermixDlgTest, ARightClickOnTheBackgroundOffersTheAboutBox) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    QString version;
    F::Run(d, [&] {
        const QPoint freeSpot = d.DluToPixels(80, 189, 0, 0).topLeft();
        EXPECT_TRUE(d.childAt(freeSpot) == nullptr);
        F::WhenOpen<CAboutDlg>([&](CAboutDlg& about) {
            version =
                QString::fromStdString(gbk::ToUtf8(about.GetControlText(about_ids::kVersion)));
            about.EndDialog(CDialogBase::kIdOk);
        });
        QTimer::singleShot(20, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            EXPECT_TRUE(menu != nullptr);
            EXPECT_EQ(menu->actions().size(), 1);
            EXPECT_EQ(menu->actions().first()->text(), Q("关于 Termix(&A)..."));
            menu->setActiveAction(menu->actions().first());
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, freeSpot, d.mapToGlobal(freeSpot));
        QApplication::sendEvent(&d, &event);
    });
    EXPECT_EQ(version, Q("Termix v1.2 (Vantrel英汉术语词典)"));
}

TEST_F(TermixDlgTest, DraggingAFreeSpotMovesTheWindow) {
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        const QPoint start = d.DluToPixels(80, 189, 0, 0).topLeft();
        const QPoint before = d.pos();
        auto send = [&d](QEvent::Type type, const QPoint& local, Qt::MouseButtons buttons) {
            QMouseEvent event(type, local, d.mapToGlobal(local), Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QApplication::sendEvent(&d, &event);
        };
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        send(QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, start + QPoint(30, 20), Qt::NoButton);
        TRY_EXPECT_EQ(d.pos(), before + QPoint(30, 20));
    });
}

TEST_F(TermixDlgTest, AHistoryThatCannotBeWrittenIsReportedAndTheSettingsStillSaved) {
    F::WriteStandardGlossary();
    F::WriteSettings([](CConfGlobal& s) { s.SetSearchedHistorySaved(true); });
    FakeGlobalHotkey hotkey;
    CTermixDlg d(hotkey);
    F::Run(d, [&] {
        Search(d, "UML");
        // Something in the history file's place that the write cannot replace.
        std::filesystem::create_directory(F::DataFile(CHistroy::kFileSuffix));
        F::Button(d, kExitButton)->click();
    });
    std::filesystem::remove(F::DataFile(CHistroy::kFileSuffix));
    EXPECT_EQ(F::Messages().size(), size_t{1});
    EXPECT_TRUE(!HasConfGlobal());
    EXPECT_TRUE(F::ReadFile(CConfGlobal::kFileSuffix).find("0003#Yes") != std::string::npos);
}
