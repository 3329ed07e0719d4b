#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>

#include "MainWindowFixture.h"
#include "core/ConfGlobal.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/info/AboutDlg.h"
#include "ui/info/InfoDlg.h"
#include "ui/main/MainTexts.h"
#include "ui/settings/SysConfigDlg.h"
#include "util/GbkText.h"

using F = MainWindowFixture;
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

class TermixDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { F::SetUpProcess(); }
    void init() {
        F::Reset();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { F::Reset(); }

    void firstStartShowsTheAboutEntryAndWritesTheSettingsFile() {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            QCOMPARE(d.windowTitle(), Q("Termix v1.2 (Vantrel英汉术语词典)"));
            QCOMPARE(T(d, 1071), Q("-- 术语总数: 0 条 --"));
            QCOMPARE(T(d, 1009), Q("About Termix"));
            QCOMPARE(T(d, 1010), Q("关于 Termix"));
            QCOMPARE(d.GetControlText(1006), main_texts::AboutText());
            QVERIFY(T(d, 1000).isEmpty());
            QVERIFY(T(d, 1011).isEmpty());
            QVERIFY(T(d, 1064).isEmpty());
            QCOMPARE(F::List(d)->GetRowCount(), 0);
            QCOMPARE(F::List(d)->GetColumnCount(), 2);
            QCOMPARE(d.focusWidget(), F::Input(d));
        });
        QVERIFY(d.HasEnded());
        QVERIFY(F::Messages().empty());
        // An empty hotkey setting grabs nothing and reports nothing.
        QCOMPARE(hotkey.calls.size(), size_t{1});
        QCOMPARE(hotkey.calls[0].id, 1026);
        QCOMPARE(hotkey.calls[0].virtualKey, 0u);
        const std::string settings = F::ReadFile(CConfGlobal::kFileSuffix);
        for (const char* key :
             {"m_cs_startup_window_hide", "m_cs_exit_or_hide", "m_cs_esc_exit_or_hide",
              "m_cs_startup_search_term_b", "m_cs_startup_search_term_s", "m_cs_hotkey",
              "m_cs_searched_history_saved"}) {
            QVERIFY2(settings.find(key) != std::string::npos, key);
        }
    }

    void startupCountsTheGlossaryAndRegistersTheStoredHotkey() {
        F::WriteStandardGlossary();
        F::WriteSettings([](CConfGlobal& s) { s.SetHotkey(196692); });
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] { QCOMPARE(T(d, 1071), Q("-- 术语总数: 6 条 --")); });
        QCOMPARE(hotkey.calls.size(), size_t{1});
        QCOMPARE(hotkey.calls[0].modifiers, 3u);    // Ctrl+Alt
        QCOMPARE(hotkey.calls[0].virtualKey, 84u);  // T
        QVERIFY(F::Messages().empty());
    }

    void aRefusedHotkeyIsReportedAndStartupGoesOn() {
        F::WriteStandardGlossary();
        F::WriteSettings([](CConfGlobal& s) { s.SetHotkey(196692); });
        FakeGlobalHotkey hotkey;
        hotkey.refuse = true;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            QCOMPARE(T(d, 1071), Q("-- 术语总数: 6 条 --"));
            QCOMPARE(T(d, 1009), Q("About Termix"));
        });
        QCOMPARE(F::Messages(), std::vector<std::string>{GBK("向系统注册 Termix 热键失败!")});
    }

    void historyIsLoadedOnlyWhenItsSettingIsOn() {
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
                F::Button(d, 1068)->click();
                if (on) {
                    QCOMPARE(F::Terms(d), (std::vector<std::string>{"UML", "zzz"}));
                    QCOMPARE(F::List(d)->Rows().CellText(0, 1), GBK("统一建模语言"));
                    QCOMPARE(F::List(d)->Rows().CellText(1, 1), std::string("......"));
                } else {
                    QCOMPARE(F::List(d)->GetRowCount(), 0);
                }
            });
        }
        // With the setting off the file is neither read nor written.
        const std::string history = F::ReadFile(CHistroy::kFileSuffix);
        QVERIFY(history.find("zzz") != std::string::npos);
    }

    void theStartupWorkerHidesThenSearches() {
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
            QTRY_VERIFY(!d.isVisible());
            QTRY_VERIFY(d.StartupWorkerFinished());
            QTRY_COMPARE(T(d, 1064), Q("搜索: use case\r\n结果: 2 个术语 (存在完全匹配的)"));
            QVERIFY(!d.isVisible());
            QCOMPARE(T(d, 1000), Q("use case"));
            QCOMPARE(T(d, 1010), Q("用例"));
            QCOMPARE(F::List(d)->GetRowCount(), 2);
            // The result is there when the window comes back.
            d.ShowMainWindow(true);
            QTRY_VERIFY(d.isVisible());
            QCOMPARE(T(d, 1011), Q("用例(use case)"));
        });
        QVERIFY(GetSearchHistory().Contains("use case"));
    }

    void theStartupSearchRunsOnlyWhenSwitchedOn() {
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
            QTRY_VERIFY(d.StartupWorkerFinished());
            QTest::qWait(20);
            QVERIFY(d.isVisible());
            QCOMPARE(F::List(d)->GetRowCount(), 0);
            QVERIFY(T(d, 1064).isEmpty());
            QCOMPARE(T(d, 1009), Q("About Termix"));
        });
    }

    void keywordSearchWritesItsSummaryShowsExactTermsAndRecordsHits() {
        F::WriteStandardGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Search(d, "use");
            QCOMPARE(F::List(d)->GetRowCount(), 2);
            QCOMPARE(T(d, 1064), Q("搜索: use\r\n结果: 2 个术语 (不存在完全匹配的)"));
            QVERIFY(T(d, 1009).isEmpty());
            QVERIFY(T(d, 1006).isEmpty());
            QVERIFY(T(d, 1011).isEmpty());
            QCOMPARE(T(d, 1000), Q("use"));

            Search(d, "use case");
            QCOMPARE(T(d, 1064), Q("搜索: use case\r\n结果: 2 个术语 (存在完全匹配的)"));
            QCOMPARE(T(d, 1009), Q("use case"));
            QCOMPARE(T(d, 1010), Q("用例"));
            QCOMPARE(T(d, 1006), Q("系统提供的一项功能。\r\n第二行"));
            QCOMPARE(T(d, 1011), Q("用例(use case)"));
            QCOMPARE(d.focusWidget(), F::Input(d));
            QCOMPARE(F::Input(d)->selectedText(), Q("use case"));

            // The exact test is case-sensitive; the list is not.
            Search(d, "USE CASE");
            QCOMPARE(T(d, 1064), Q("搜索: USE CASE\r\n结果: 2 个术语 (不存在完全匹配的)"));
            QVERIFY(T(d, 1009).isEmpty());
            QVERIFY(T(d, 1010).isEmpty());
            QCOMPARE(T(d, 1000), Q("USE CASE"));

            Search(d, "zzz");
            QCOMPARE(F::List(d)->GetRowCount(), 0);
            QCOMPARE(T(d, 1064), Q("搜索: zzz\r\n结果: 0 个术语 (不存在完全匹配的)"));

            // The empty keyword lists every term.
            Search(d, "");
            QCOMPARE(F::List(d)->GetRowCount(), 6);
            QCOMPARE(T(d, 1064), Q("搜索: \r\n结果: 6 个术语 (不存在完全匹配的)"));
        });
        CHistroy& history = GetSearchHistory();
        QVERIFY(history.Contains("use"));
        QVERIFY(history.Contains("use case"));
        QVERIFY(history.Contains("USE CASE"));
        QVERIFY(history.Contains(""));
        QVERIFY(!history.Contains("zzz"));
    }

    void enterSearchesFromEveryControl() {
        F::WriteStandardGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Type(F::Input(d), "UML");
            // In the multi-line explanation: a search, no line break.
            auto* explain = d.Control<QPlainTextEdit>(1006);
            explain->setFocus();
            QTest::keyClick(explain, Qt::Key_Return);
            QCOMPARE(T(d, 1064), Q("搜索: UML\r\n结果: 1 个术语 (存在完全匹配的)"));
            QVERIFY(T(d, 1006).isEmpty());

            // On a focused button: a search, not the button's own command.
            Type(F::Input(d), "model");
            QAbstractButton* all = F::Button(d, 1058);
            all->setFocus();
            QTest::keyClick(all, Qt::Key_Enter);
            QCOMPARE(T(d, 1064), Q("搜索: model\r\n结果: 1 个术语 (存在完全匹配的)"));

            // The search button does the same.
            Type(F::Input(d), "Meta");
            F::Button(d, 1001)->click();
            QCOMPARE(T(d, 1064), Q("搜索: Meta\r\n结果: 1 个术语 (不存在完全匹配的)"));
        });
    }

    void letterAllAndNonLetterButtonsListWithTheirSummaries() {
        F::WriteStandardGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            F::Button(d, 1056)->click();  // M
            QCOMPARE(T(d, 1064), Q("搜索首写字母为 M 或 m 的所有术语\r\n结果: 2 个术语"));
            QCOMPARE(F::List(d)->GetRowCount(), 2);
            QCOMPARE(d.focusWidget(), F::Input(d));
            // The details stay as they were.
            QCOMPARE(T(d, 1009), Q("About Termix"));

            F::Button(d, 1051)->click();  // U
            QCOMPARE(T(d, 1064), Q("搜索首写字母为 U 或 u 的所有术语\r\n结果: 3 个术语"));
            F::Button(d, 1057)->click();  // Z
            QCOMPARE(T(d, 1064), Q("搜索首写字母为 Z 或 z 的所有术语\r\n结果: 0 个术语"));

            F::Button(d, 1058)->click();
            QCOMPARE(T(d, 1064), Q("共有 6 个术语"));
            QCOMPARE(F::List(d)->GetRowCount(), 6);

            F::Button(d, 1059)->click();
            QCOMPARE(T(d, 1064), Q("搜索不以26个英文字母开头的所有术语\r\n结果: 1 个术语"));
            QCOMPARE(F::Terms(d), std::vector<std::string>{"1NF"});
        });
        QCOMPARE(GetSearchHistory().Count(), size_t{0});
    }

    void allOnAnEmptyGlossaryCountsNothing() {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            F::Button(d, 1058)->click();
            QCOMPARE(T(d, 1064), Q("共有 0 个术语"));
        });
    }

    void historyButtonPutsThePreviousInputBack() {
        F::WriteStandardGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Search(d, "UML");
            Search(d, "use");
            Type(F::Input(d), "typed but not searched");
            F::Button(d, 1068)->click();
            QCOMPARE(T(d, 1000), Q("use"));
            QCOMPARE(F::Input(d)->selectedText(), Q("use"));
            QVERIFY(T(d, 1064).isEmpty());
            QVERIFY(T(d, 1009).isEmpty());
            QVERIFY(T(d, 1010).isEmpty());
            QVERIFY(T(d, 1011).isEmpty());
            QCOMPARE(F::Terms(d), (std::vector<std::string>{"UML", "use"}));
        });
    }

    void clickingARowShowsItsTermOrSearchesItAgain() {
        F::WriteStandardGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Search(d, "use");
            F::ClickRow(d, "use case");
            QCOMPARE(T(d, 1009), Q("use case"));
            QCOMPARE(T(d, 1010), Q("用例"));
            QCOMPARE(T(d, 1011), Q("用例(use case)"));
            QCOMPARE(T(d, 1000), Q("use case"));
            QCOMPARE(d.focusWidget(), static_cast<QWidget*>(F::List(d)));
            QCOMPARE(T(d, 1064), Q("搜索: use\r\n结果: 2 个术语 (不存在完全匹配的)"));

            // A history row that is no term runs its search again.
            F::Button(d, 1068)->click();
            F::ClickRow(d, "use");
            QCOMPARE(T(d, 1064), Q("搜索: use\r\n结果: 2 个术语 (不存在完全匹配的)"));
            QCOMPARE(F::List(d)->GetRowCount(), 2);
            QCOMPARE(T(d, 1000), Q("use"));
            QCOMPARE(d.focusWidget(), F::Input(d));
            QCOMPARE(F::Input(d)->selectedText(), Q("use"));

            // A double-click only returns the focus to the input.
            F::ClickRow(d, "Use Case Diagram");
            QCOMPARE(d.focusWidget(), static_cast<QWidget*>(F::List(d)));
            const QRect cell = F::List(d)->visualRect(F::List(d)->model()->index(0, 0));
            QTest::mouseDClick(F::List(d)->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(d.focusWidget(), F::Input(d));
        });
    }

    void copyPutsTheCopyFieldOnTheClipboard() {
        F::WriteStandardGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Search(d, "use case");
            F::Button(d, 1025)->click();
            QCOMPARE(ClipboardText(), Q("用例(use case)"));
            QCOMPARE(d.focusWidget(), F::Input(d));

            // The user's own edit of the copy field is what is copied.
            d.Control<QLineEdit>(1011)->setText(Q("编辑过的"));
            F::Button(d, 1025)->click();
            QCOMPARE(ClipboardText(), Q("编辑过的"));

            Search(d, "zzz");
            F::Button(d, 1025)->click();
            QVERIFY(ClipboardText().isEmpty());
        });
    }

    void escapeHidesOrExitsAsConfigured() {
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
                QVERIFY(!d.isVisible());
                QVERIFY(!d.HasEnded());
                // Hiding writes nothing.
                QVERIFY(!TempDir::Exists(F::DataFile(CHistroy::kFileSuffix)));
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
            QVERIFY(d.HasEnded());
        });
        QCOMPARE(F::ReadFile(CHistroy::kFileSuffix), std::string("0005#model = 0005#model\r\n"));
        QVERIFY(!HasConfGlobal());
        QVERIFY(
            F::ReadFile(CConfGlobal::kFileSuffix).find("0021#m_cs_esc_exit_or_hide = 0002#No") !=
            std::string::npos);
    }

    void theCloseCommandHidesOrExitsAsConfigured() {
        for (const bool hides : {true, false}) {
            F::Reset();
            F::WriteSettings([hides](CConfGlobal& s) { s.SetExitOrHide(hides); });
            FakeGlobalHotkey hotkey;
            CTermixDlg d(hotkey);
            F::Run(d, [&] {
                d.close();
                QCOMPARE(d.HasEnded(), !hides);
                QVERIFY(!d.isVisible() || !hides);
                if (hides) {
                    QVERIFY(!d.isVisible());
                }
            });
        }
    }

    void theExitButtonAndACloseRequestAlwaysExit() {
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
                F::Button(d, 1062)->click();
                QVERIFY(d.HasEnded());
            });
        }
        ReleaseGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Search(d, "UML");
            d.ShowMainWindow(false);
            d.OnCloseRequest();
            QVERIFY(d.HasEnded());
        });
        QVERIFY(F::ReadFile(CHistroy::kFileSuffix).find("UML") != std::string::npos);
        QVERIFY(F::ReadFile(CConfGlobal::kFileSuffix).find("0017#m_cs_exit_or_hide = 0003#Yes") !=
                std::string::npos);
    }

    void aCloseRequestClosesAnOpenSettingsDialogFirst() {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        bool dialogWasOpen = false;
        F::Run(d, [&] {
            F::WhenOpen<CSysConfigDlg>([&](CSysConfigDlg&) {
                dialogWasOpen = true;
                d.OnCloseRequest();
            });
            F::Button(d, 1031)->click();
            QVERIFY(d.HasEnded());
        });
        QVERIFY(dialogWasOpen);
        QVERIFY(!HasConfGlobal());
    }

    void aCloseRequestLetsAnOpenDataConfigurationWindowSaveFirst() {
        F::WriteStandardGlossary();
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            F::WhenOpen<CDataConfigDlg>([&](CDataConfigDlg&) {
                GetGlossary().Add(CTermRecord("added before the request", "m", ""));
                d.OnCloseRequest();
            });
            F::Button(d, 1007)->click();
            QVERIFY(d.HasEnded());
        });
        CGlossary saved(F::DataFile(CGlossary::kFileSuffix));
        QVERIFY(saved.Exists("added before the request"));
        QCOMPARE(saved.GetCount(), 7L);
    }

    void trayCommandsAndTheHotkeyShowAndHide() {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            emit d.TrayIcon().commandChosen(32772);
            QVERIFY(!d.isVisible());
            emit d.TrayIcon().commandChosen(32771);
            QVERIFY(d.isVisible());
            QVERIFY(!d.isMinimized());

            d.ShowMainWindow(false);
            hotkey.Press(1025);  // not ours
            QVERIFY(!d.isVisible());
            hotkey.Press(1026);
            QVERIFY(d.isVisible());
            // The hotkey never hides a visible window.
            hotkey.Press(1026);
            QVERIFY(d.isVisible());

            d.showMinimized();
            hotkey.Press(1026);
            QTRY_VERIFY(!d.isMinimized());
        });
    }

    void dataConfigurationEmptiesTheResultsAndRecountsWhenItCloses() {
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
                window.Control<QAbstractButton>(2)->click();  // 到主界面
            });
            F::Button(d, 1007)->click();
            QVERIFY(opened);
            QCOMPARE(F::List(d)->GetRowCount(), 0);
            QVERIFY(T(d, 1064).isEmpty());
            QVERIFY(T(d, 1009).isEmpty());
            QVERIFY(T(d, 1011).isEmpty());
            QCOMPARE(T(d, 1071), Q("-- 术语总数: 7 条 --"));
            QCOMPARE(T(d, 1000), Q("use case"));
            QCOMPARE(d.focusWidget(), F::Input(d));
        });
    }

    void settingsSavedInTheDialogCountAtOnce() {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            F::WhenOpen<CSysConfigDlg>([](CSysConfigDlg& dialog) {
                dialog.Control<QAbstractButton>(1061)->click();  // ESC hides
                dialog.Control<QAbstractButton>(1)->click();     // 保存
            });
            F::Button(d, 1031)->click();
            QVERIFY(GetConfGlobal().GetEscExitOrHide());
            QCOMPARE(d.focusWidget(), F::Input(d));
            QTest::keyClick(F::Input(d), Qt::Key_Escape);
            QVERIFY(!d.isVisible());
            QVERIFY(!d.HasEnded());
        });
    }

    void informationButtonsOpenTheirModes() {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        std::vector<std::string> modes;
        auto closeInfo = [&modes](CInfoDlg& window) {
            modes.push_back(window.Mode());
            window.EndDialog(CDialogBase::kIdCancel);
        };
        F::Run(d, [&] {
            F::WhenOpen<CInfoDlg>(closeInfo);
            F::Button(d, 1008)->click();
            F::WhenOpen<CInfoDlg>(closeInfo);
            F::Button(d, 1076)->click();
            QCOMPARE(d.focusWidget(), F::Input(d));
        });
        QCOMPARE(modes, (std::vector<std::string>{GBK("关于"), "readme.txt"}));
    }

    void aRightClickOnTheBackgroundOffersTheAboutBox() {
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        QString version;
        F::Run(d, [&] {
            const QPoint freeSpot = d.DluToPixels(80, 189, 0, 0).topLeft();
            QVERIFY(d.childAt(freeSpot) == nullptr);
            F::WhenOpen<CAboutDlg>([&](CAboutDlg& about) {
                version = QString::fromStdString(gbk::ToUtf8(about.GetControlText(1063)));
                about.EndDialog(CDialogBase::kIdOk);
            });
            QTimer::singleShot(20, [] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                QVERIFY(menu != nullptr);
                QCOMPARE(menu->actions().size(), 1);
                QCOMPARE(menu->actions().first()->text(), Q("关于 Termix(&A)..."));
                menu->setActiveAction(menu->actions().first());
                QTest::keyClick(menu, Qt::Key_Return);
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, freeSpot, d.mapToGlobal(freeSpot));
            QApplication::sendEvent(&d, &event);
        });
        QCOMPARE(version, Q("Termix v1.2 (Vantrel英汉术语词典)"));
    }

    void draggingAFreeSpotMovesTheWindow() {
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
            QTRY_COMPARE(d.pos(), before + QPoint(30, 20));
        });
    }

    void aHistoryThatCannotBeWrittenIsReportedAndTheSettingsStillSaved() {
        F::WriteStandardGlossary();
        F::WriteSettings([](CConfGlobal& s) { s.SetSearchedHistorySaved(true); });
        FakeGlobalHotkey hotkey;
        CTermixDlg d(hotkey);
        F::Run(d, [&] {
            Search(d, "UML");
            // Something in the history file's place that the write cannot replace.
            std::filesystem::create_directory(F::DataFile(CHistroy::kFileSuffix));
            F::Button(d, 1062)->click();
        });
        std::filesystem::remove(F::DataFile(CHistroy::kFileSuffix));
        QCOMPARE(F::Messages().size(), size_t{1});
        QVERIFY(!HasConfGlobal());
        QVERIFY(F::ReadFile(CConfGlobal::kFileSuffix).find("0003#Yes") != std::string::npos);
    }
};

QTEST_MAIN(TermixDlgTest)
#include "TermixDlgTest.moc"
