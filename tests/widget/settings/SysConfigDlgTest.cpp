#include <QAbstractButton>
#include <QApplication>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../../unit/TempDir.h"
#include "../main/FakeGlobalHotkey.h"
#include "controls/MessageBox.h"
#include "core/ConfGlobal.h"
#include "ui/settings/HotkeyInput.h"
#include "ui/settings/SysConfigDlg.h"
#include "util/GbkText.h"

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
    return d.Control<QKeySequenceEdit>(1073)->findChild<QLineEdit*>();
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
        QFAIL("the settings dialog is not open");
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

class SysConfigDlgTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        SetMessageBoxHookForTesting([](const std::string& text) { Messages().push_back(text); });
    }
    void init() { Messages().clear(); }

    void opensWithTheCurrentValues() {
        FakeGlobalHotkey hotkey;
        Values result;
        RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
            QVERIFY(Checked(d, 1059));
            QVERIFY(!Checked(d, 1060));
            QVERIFY(Checked(d, 1061));
            QVERIFY(Checked(d, 1062));
            QVERIFY(Checked(d, 1075));
            QCOMPARE(d.GetControlText(1065), std::string(" use case "));
            QCOMPARE(d.HotkeyInput().VirtualKey(), 84u);
            QCOMPARE(d.HotkeyInput().ControlFlags(), 6u);  // HOTKEYF_CONTROL | HOTKEYF_ALT
            QCOMPARE(qobject_cast<QLineEdit*>(HotkeyControl(d))->text(),
                     QStringLiteral("Ctrl + Alt + T"));
            QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.Control<QAbstractButton>(1059)));
        });
        QVERIFY(hotkey.calls.empty());
    }

    void emptySettingsShowNothingTicked() {
        FakeGlobalHotkey hotkey;
        Values result;
        RunDialog(hotkey, Values(), result, [](CSysConfigDlg& d) {
            for (const int id : {1059, 1060, 1061, 1062, 1075}) {
                QVERIFY(!Checked(d, id));
            }
            QVERIFY(d.GetControlText(1065).empty());
            QCOMPARE(d.HotkeyInput().VirtualKey(), 0u);
            QVERIFY(qobject_cast<QLineEdit*>(HotkeyControl(d))->text().isEmpty());
        });
    }

    void saveTakesEveryValueOverAsShown() {
        FakeGlobalHotkey hotkey;
        Values result;
        const bool saved = RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
            Click(d, 1059);
            Click(d, 1060);
            Click(d, 1075);
            d.Control<QLineEdit>(1065)->setText(QStringLiteral("  UML"));
            Click(d, 1);
        });
        QVERIFY(saved);
        QCOMPARE(result.startupWindowHide, false);
        QCOMPARE(result.exitOrHide, true);
        QCOMPARE(result.escExitOrHide, true);
        QCOMPARE(result.startupSearchTermB, true);
        QCOMPARE(result.startupSearchTermS, std::string("  UML"));
        QCOMPARE(result.hotkey, 196692L);
        QCOMPARE(result.searchedHistorySaved, false);
    }

    void assignRegistersAtOnceAndSaveStoresTheValue() {
        TempDir dir;
        CConfGlobal settings(dir.file("Termix.CConfGlobal.cfg"));
        settings.SetHotkey(196692);
        FakeGlobalHotkey hotkey;
        CConfGlobal::SetDialogRunner([&hotkey](const Values& current, Values& result) {
            return RunDialog(hotkey, current, result, [](CSysConfigDlg& d) {
                Press(d, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
                QCOMPARE(qobject_cast<QLineEdit*>(HotkeyControl(d))->text(),
                         QStringLiteral("Ctrl + Alt + D"));
                Click(d, 1074);
                QVERIFY(d.IsRunning());
                Click(d, 1);
            });
        });
        QVERIFY(settings.Configure());
        CConfGlobal::SetDialogRunner(nullptr);
        QCOMPARE(hotkey.calls.size(), size_t{1});
        QCOMPARE(hotkey.calls[0].id, 1026);
        QCOMPARE(hotkey.calls[0].modifiers, 3u);
        QCOMPARE(hotkey.calls[0].virtualKey, 68u);
        QCOMPARE(Messages(), std::vector<std::string>{GBK("热键注册成功，立即可用。")});
        QCOMPARE(settings.m_cs_hotkey, std::string("196676"));
    }

    void aCombinationNotAssignedIsNotStored() {
        FakeGlobalHotkey hotkey;
        Values result;
        RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
            Press(d, Qt::Key_F5, Qt::ShiftModifier);
            QCOMPARE(d.HotkeyInput().ControlFlags(), 1u);  // HOTKEYF_SHIFT
            Click(d, 1);
        });
        QCOMPARE(result.hotkey, 196692L);
        QVERIFY(hotkey.calls.empty());
    }

    void aRefusedAssignmentIsReportedAndKeepsTheValue() {
        FakeGlobalHotkey hotkey;
        hotkey.refuse = true;
        Values result;
        RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
            Press(d, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
            Click(d, 1074);
            QVERIFY(d.IsRunning());
            QCOMPARE(d.GetHotkeyValue(), 196692L);
            Click(d, 1);
        });
        QCOMPARE(Messages(), std::vector<std::string>{GBK("向系统注册 Termix 热键失败!")});
        QCOMPARE(result.hotkey, 196692L);
    }

    void cancelChangesNoSettingButAnAssignedHotkeyStaysRegistered() {
        TempDir dir;
        CConfGlobal settings(dir.file("Termix.CConfGlobal.cfg"));
        settings.SetHotkey(196692);
        settings.m_cs_exit_or_hide = "yes";
        FakeGlobalHotkey hotkey;
        CConfGlobal::SetDialogRunner([&hotkey](const Values& current, Values& result) {
            return RunDialog(hotkey, current, result, [](CSysConfigDlg& d) {
                QVERIFY(!Checked(d, 1060));  // only exactly "Yes" is on
                Click(d, 1059);
                Press(d, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
                Click(d, 1074);
                Click(d, 2);  // 取消
            });
        });
        QVERIFY(!settings.Configure());
        CConfGlobal::SetDialogRunner(nullptr);
        QCOMPARE(settings.m_cs_hotkey, std::string("196692"));
        QCOMPARE(settings.m_cs_exit_or_hide, std::string("yes"));
        QVERIFY(settings.m_cs_startup_window_hide.empty());
        QCOMPARE(hotkey.calls.size(), size_t{1});
    }

    void aLowerCaseYesIsSavedAsNo() {
        TempDir dir;
        CConfGlobal settings(dir.file("Termix.CConfGlobal.cfg"));
        settings.m_cs_esc_exit_or_hide = "yes";
        FakeGlobalHotkey hotkey;
        CConfGlobal::SetDialogRunner([&hotkey](const Values& current, Values& result) {
            return RunDialog(hotkey, current, result, [](CSysConfigDlg& d) { Click(d, 1); });
        });
        QVERIFY(settings.Configure());
        CConfGlobal::SetDialogRunner(nullptr);
        QCOMPARE(settings.m_cs_esc_exit_or_hide, std::string("No"));
        QCOMPARE(settings.m_cs_hotkey, std::string("0"));
    }

    void enterSavesAndEscCancelsAlsoFromTheHotkeyControl() {
        FakeGlobalHotkey hotkey;
        Values result;
        QVERIFY(RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
            Click(d, 1060);
            HotkeyControl(d)->setFocus();
            QTest::keyClick(HotkeyControl(d), Qt::Key_Return);
        }));
        QCOMPARE(result.exitOrHide, true);
        // Enter and Esc are no hotkey of their own.
        QVERIFY(!RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
            HotkeyControl(d)->setFocus();
            QTest::keyClick(HotkeyControl(d), Qt::Key_Escape);
            QVERIFY(!d.IsRunning());
            QCOMPARE(d.HotkeyInput().VirtualKey(), 84u);
        }));
    }

    void theHotkeyControlTakesOnlyWholeCombinations() {
        FakeGlobalHotkey hotkey;
        Values result;
        RunDialog(hotkey, Stored(), result, [](CSysConfigDlg& d) {
            CHotkeyInput& input = d.HotkeyInput();
            // A modifier alone changes nothing yet.
            Press(d, Qt::Key_Control, Qt::ControlModifier);
            QCOMPARE(input.VirtualKey(), 84u);
            // Backspace alone clears; "指定" then registers "no hotkey" and stores 0.
            Press(d, Qt::Key_Backspace, Qt::NoModifier);
            QCOMPARE(input.VirtualKey(), 0u);
            QVERIFY(qobject_cast<QLineEdit*>(HotkeyControl(d))->text().isEmpty());
            Click(d, 1074);
            QCOMPARE(d.GetHotkeyValue(), 0L);
            // Tab leaves the control for the next one.
            Press(d, Qt::Key_Tab, Qt::NoModifier);
            QCOMPARE(input.VirtualKey(), 0u);
            QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.Control<QAbstractButton>(1074)));
            // A keypad digit keeps its keypad key.
            Press(d, Qt::Key_7, Qt::KeypadModifier | Qt::ShiftModifier);
            QCOMPARE(input.VirtualKey(), 0x67u);  // VK_NUMPAD7
            Click(d, 2);
        });
    }
};

QTEST_MAIN(SysConfigDlgTest)
#include "SysConfigDlgTest.moc"
