#include <QAbstractButton>
#include <QApplication>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../QtGTest.h"
#include "../main/FakeGlobalHotkey.h"
#include "controls/MessageBox.h"
#include "core/ConfGlobal.h"
#include "resources/SettingsDialogIds.h"
#include "tests/support/TempDir.h"
#include "ui/settings/HotkeyInput.h"
#include "ui/settings/SysConfigDlg.h"
#include "util/GbkText.h"

using namespace settings_ids;

namespace {

using Values = CConfGlobal::Values;

std::vector<std::string>& Messages() {
    static std::vector<std::string> messages;
    return messages;
}

bool Checked(CSysConfigDlg& d, int id) {
    return d.Control<QAbstractButton>(id)->isChecked();
}
void Click(CSysConfigDlg& d, int id) {
    d.Control<QAbstractButton>(id)->click();
}
QWidget* HotkeyControl(CSysConfigDlg& d) {
    return d.Control<QKeySequenceEdit>(kHotkeyInput)->findChild<QLineEdit*>();
}
// Presses a combination in the hotkey control.
void Press(CSysConfigDlg& d, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* control = HotkeyControl(d);
    control->setFocus();
    QTest::keyClick(control, key, modifiers);
}

// Runs the dialog on `current`; `body` runs while it is open and ends it (a body that stops
// early leaves it to be cancelled). Returns whether it was saved.
bool RunDialog(FakeGlobalHotkey& hotkey, const Values& current, Values& result,
               const std::function<void(CSysConfigDlg&)>& body) {
    QTimer::singleShot(0, [body] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CSysConfigDlg*>(widget);
            if (dialog != nullptr && dialog->IsRunning()) {
                body(*dialog);
                if (dialog->IsRunning()) {
                    dialog->EndDialog(CDialogBase::kIdCancel);
                }
                return;
            }
        }
        ADD_FAILURE() << "the settings dialog is not open";
    });
    return RunSysConfigDialog(hotkey, nullptr, current, result);
}

Values Stored() {
    Values v;
    v.startupWindowHide = true;
    v.exitOrHide = false;
    v.escExitOrHide = true;
    v.startupSearchTermB = true;
    v.startupSearchTermS = " use case ";
    v.hotkey = 196692;  // Ctrl+Alt+T
    v.searchedHistorySaved = true;
    return v;
}

}  // namespace

class SysConfigDlgTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetMessageBoxHookForTesting([](const std::string& text) { Messages().push_back(text); });
    }
    void SetUp() override { Messages().clear(); }
};

TEST_F(SysConfigDlgTest, OpensWithTheCurrentValues) {
    FakeGlobalHotkey hotkey;
    Values result;
    RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        EXPECT_TRUE(Checked(d, kStartupHide));
        EXPECT_TRUE(!Checked(d, kCloseHides));
        EXPECT_TRUE(Checked(d, kEscHides));
        EXPECT_TRUE(Checked(d, kStartupSearch));
        EXPECT_TRUE(Checked(d, kHistorySaved));
        EXPECT_EQ(d.GetControlText(kStartupTerm), std::string(" use case "));
        EXPECT_EQ(d.HotkeyInput().VirtualKey(), 84u);
        EXPECT_EQ(d.HotkeyInput().ControlFlags(), 6u);  // HOTKEYF_CONTROL | HOTKEYF_ALT
        EXPECT_EQ(qobject_cast<QLineEdit*>(HotkeyControl(d))->text(),
                  QStringLiteral("Ctrl + Alt + T"));
        EXPECT_EQ(d.focusWidget(), static_cast<QWidget*>(d.Control<QAbstractButton>(kStartupHide)));
    });
    EXPECT_TRUE(hotkey.calls.empty());
}

TEST_F(SysConfigDlgTest, EmptySettingsShowNothingTicked) {
    FakeGlobalHotkey hotkey;
    Values result;
    RunDialog(hotkey, Values(), result, [](CSysConfigDlg& d) {
        for (const int id : {kStartupHide, kCloseHides, kEscHides, kStartupSearch, kHistorySaved}) {
            EXPECT_TRUE(!Checked(d, id));
        }
        EXPECT_TRUE(d.GetControlText(kStartupTerm).empty());
        EXPECT_EQ(d.HotkeyInput().VirtualKey(), 0u);
        EXPECT_TRUE(qobject_cast<QLineEdit*>(HotkeyControl(d))->text().isEmpty());
    });
}

TEST_F(SysConfigDlgTest, SaveTakesEveryValueOverAsShown) {
    FakeGlobalHotkey hotkey;
    Values result;
    const bool saved = RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        Click(d, kStartupHide);
        Click(d, kCloseHides);
        Click(d, kHistorySaved);
        d.Control<QLineEdit>(kStartupTerm)->setText(QStringLiteral("  UML"));
        Click(d, kSave);
    });
    EXPECT_TRUE(saved);
    EXPECT_EQ(result.startupWindowHide, false);
    EXPECT_EQ(result.exitOrHide, true);
    EXPECT_EQ(result.escExitOrHide, true);
    EXPECT_EQ(result.startupSearchTermB, true);
    EXPECT_EQ(result.startupSearchTermS, std::string("  UML"));
    EXPECT_EQ(result.hotkey, 196692L);
    EXPECT_EQ(result.searchedHistorySaved, false);
}

TEST_F(SysConfigDlgTest, AssignRegistersAtOnceAndSaveStoresTheValue) {
    TempDir dir;
    CConfGlobal settings(dir.file("Termix.CConfGlobal.cfg"));
    settings.SetHotkey(196692);
    FakeGlobalHotkey hotkey;
    CConfGlobal::SetDialogRunner([&hotkey](const Values& current, Values& result) {
        return RunDialog(hotkey, current, result, [](CSysConfigDlg& d) {
            Press(d, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
            EXPECT_EQ(qobject_cast<QLineEdit*>(HotkeyControl(d))->text(),
                      QStringLiteral("Ctrl + Alt + D"));
            Click(d, kAssignHotkey);
            EXPECT_TRUE(d.IsRunning());
            Click(d, kSave);
        });
    });
    EXPECT_TRUE(settings.Configure());
    CConfGlobal::SetDialogRunner(nullptr);
    EXPECT_EQ(hotkey.calls.size(), size_t{1});
    EXPECT_EQ(hotkey.calls[0].id, 1026);
    EXPECT_EQ(hotkey.calls[0].modifiers, 3u);
    EXPECT_EQ(hotkey.calls[0].virtualKey, 68u);
    EXPECT_EQ(Messages(), std::vector<std::string>{GBK("热键注册成功，立即可用。")});
    EXPECT_EQ(settings.m_cs_hotkey, std::string("196676"));
}

TEST_F(SysConfigDlgTest, ACombinationNotAssignedIsNotStored) {
    FakeGlobalHotkey hotkey;
    Values result;
    RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        Press(d, Qt::Key_F5, Qt::ShiftModifier);
        EXPECT_EQ(d.HotkeyInput().ControlFlags(), 1u);  // HOTKEYF_SHIFT
        Click(d, kSave);
    });
    EXPECT_EQ(result.hotkey, 196692L);
    EXPECT_TRUE(hotkey.calls.empty());
}

TEST_F(SysConfigDlgTest, ARefusedAssignmentIsReportedAndKeepsTheValue) {
    FakeGlobalHotkey hotkey;
    hotkey.refuse = true;
    Values result;
    RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        Press(d, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
        Click(d, kAssignHotkey);
        EXPECT_TRUE(d.IsRunning());
        EXPECT_EQ(d.GetHotkeyValue(), 196692L);
        Click(d, kSave);
    });
    EXPECT_EQ(Messages(), std::vector<std::string>{GBK("向系统注册 Termix 热键失败!")});
    EXPECT_EQ(result.hotkey, 196692L);
}

// The desktop portal answers later: "指定" waits for the answer and says only then what happened.
TEST_F(SysConfigDlgTest, AnAssignmentAnsweredLaterIsReportedAndKeptOnlyWhenAccepted) {
    for (const bool accepted : {true, false}) {
        Messages().clear();
        FakeGlobalHotkey hotkey;
        hotkey.answerLater = true;
        Values result;
        RunDialog(hotkey, Stored(), result, [&](CSysConfigDlg& d) {
            Press(d, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
            Click(d, kAssignHotkey);
            EXPECT_TRUE(Messages().empty());
            EXPECT_FALSE(d.Control<QAbstractButton>(kAssignHotkey)->isEnabled());
            hotkey.Finish(1026, accepted);
            EXPECT_TRUE(d.Control<QAbstractButton>(kAssignHotkey)->isEnabled());
            Click(d, kSave);
        });
        EXPECT_EQ(Messages(),
                  std::vector<std::string>{accepted ? GBK("热键注册成功，立即可用。")
                                                    : GBK("向系统注册 Termix 热键失败!")});
        EXPECT_EQ(result.hotkey, accepted ? 196676L : 196692L);
    }
}

TEST_F(SysConfigDlgTest, CancelChangesNoSettingButAnAssignedHotkeyStaysRegistered) {
    TempDir dir;
    CConfGlobal settings(dir.file("Termix.CConfGlobal.cfg"));
    settings.SetHotkey(196692);
    settings.m_cs_exit_or_hide = "yes";
    FakeGlobalHotkey hotkey;
    CConfGlobal::SetDialogRunner([&hotkey](const Values& current, Values& result) {
        return RunDialog(hotkey, current, result, [](CSysConfigDlg& d) {
            EXPECT_TRUE(!Checked(d, kCloseHides));  // only exactly "Yes" is on
            Click(d, kStartupHide);
            Press(d, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
            Click(d, kAssignHotkey);
            Click(d, kCancel);  // 取消
        });
    });
    EXPECT_TRUE(!settings.Configure());
    CConfGlobal::SetDialogRunner(nullptr);
    EXPECT_EQ(settings.m_cs_hotkey, std::string("196692"));
    EXPECT_EQ(settings.m_cs_exit_or_hide, std::string("yes"));
    EXPECT_TRUE(settings.m_cs_startup_window_hide.empty());
    EXPECT_EQ(hotkey.calls.size(), size_t{1});
}

TEST_F(SysConfigDlgTest, ALowerCaseYesIsSavedAsNo) {
    TempDir dir;
    CConfGlobal settings(dir.file("Termix.CConfGlobal.cfg"));
    settings.m_cs_esc_exit_or_hide = "yes";
    FakeGlobalHotkey hotkey;
    CConfGlobal::SetDialogRunner([&hotkey](const Values& current, Values& result) {
        return RunDialog(hotkey, current, result, [](CSysConfigDlg& d) { Click(d, kSave); });
    });
    EXPECT_TRUE(settings.Configure());
    CConfGlobal::SetDialogRunner(nullptr);
    EXPECT_EQ(settings.m_cs_esc_exit_or_hide, std::string("No"));
    EXPECT_EQ(settings.m_cs_hotkey, std::string("0"));
}

TEST_F(SysConfigDlgTest, EnterSavesAndEscCancelsAlsoFromTheHotkeyControl) {
    FakeGlobalHotkey hotkey;
    Values result;
    EXPECT_TRUE(RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        Click(d, kCloseHides);
        HotkeyControl(d)->setFocus();
        QTest::keyClick(HotkeyControl(d), Qt::Key_Return);
    }));
    EXPECT_EQ(result.exitOrHide, true);
    // Enter and Esc are no hotkey of their own.
    EXPECT_TRUE(!RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        HotkeyControl(d)->setFocus();
        QTest::keyClick(HotkeyControl(d), Qt::Key_Escape);
        EXPECT_TRUE(!d.IsRunning());
        EXPECT_EQ(d.HotkeyInput().VirtualKey(), 84u);
    }));
}

TEST_F(SysConfigDlgTest, TheHotkeyControlTakesOnlyWholeCombinations) {
    FakeGlobalHotkey hotkey;
    Values result;
    RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        CHotkeyInput& input = d.HotkeyInput();
        // A modifier alone changes nothing yet.
        Press(d, Qt::Key_Control, Qt::ControlModifier);
        EXPECT_EQ(input.VirtualKey(), 84u);
        // Backspace alone clears; "指定" then registers "no hotkey" and stores 0.
        Press(d, Qt::Key_Backspace, Qt::NoModifier);
        EXPECT_EQ(input.VirtualKey(), 0u);
        EXPECT_TRUE(qobject_cast<QLineEdit*>(HotkeyControl(d))->text().isEmpty());
        Click(d, kAssignHotkey);
        EXPECT_EQ(d.GetHotkeyValue(), 0L);
        // Tab leaves the control for the next one.
        Press(d, Qt::Key_Tab, Qt::NoModifier);
        EXPECT_EQ(input.VirtualKey(), 0u);
        EXPECT_EQ(d.focusWidget(),
                  static_cast<QWidget*>(d.Control<QAbstractButton>(kAssignHotkey)));
        // A keypad digit keeps its keypad key.
        Press(d, Qt::Key_7, Qt::KeypadModifier | Qt::ShiftModifier);
        EXPECT_EQ(input.VirtualKey(), 0x67u);  // VK_NUMPAD7
        Click(d, kCancel);
    });
}

TEST_F(SysConfigDlgTest, TheHotkeyTextKeepsOneFormatAndAnEmptyControlShowsNoPrompt) {
    FakeGlobalHotkey hotkey;
    Values result;
    RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        auto* text = qobject_cast<QLineEdit*>(HotkeyControl(d));
        Press(d, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(text->text(), QStringLiteral("Ctrl + Shift + K"));
        Press(d, Qt::Key_Tab, Qt::NoModifier);  // the control loses the focus
        EXPECT_NE(d.focusWidget(), HotkeyControl(d));
        EXPECT_EQ(text->text(), QStringLiteral("Ctrl + Shift + K"));
        HotkeyControl(d)->setFocus();
        EXPECT_EQ(text->text(), QStringLiteral("Ctrl + Shift + K"));

        Press(d, Qt::Key_Backspace, Qt::NoModifier);
        EXPECT_TRUE(text->text().isEmpty());
        EXPECT_TRUE(text->placeholderText().isEmpty());
    });
}

TEST_F(SysConfigDlgTest, AssigningNoHotkeySaysSoAndRegistersNothing) {
    FakeGlobalHotkey hotkey;
    Values result;
    EXPECT_TRUE(RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
        Press(d, Qt::Key_Backspace, Qt::NoModifier);
        Click(d, kAssignHotkey);
        Click(d, kSave);
    }));
    EXPECT_TRUE(hotkey.calls.empty());
    EXPECT_EQ(result.hotkey, 0L);
    ASSERT_EQ(Messages().size(), size_t{1});
    EXPECT_EQ(Messages()[0].find(GBK("热键注册成功")), std::string::npos);
    EXPECT_NE(Messages()[0].find(GBK("仍然有效")), std::string::npos);
}
