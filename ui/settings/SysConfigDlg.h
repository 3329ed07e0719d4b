#pragma once

#include <optional>
#include <string>

#include "controls/DialogBase.h"
#include "core/ConfGlobal.h"

class CHotkeyInput;

namespace platform {
class IGlobalHotkey;
}

// The settings dialog (dialog 105): the seven settings as check boxes, the start-up search term
// and the hotkey input with its "指定" button, which registers the shown combination at once.
// The dialog edits copies; "保存" hands them back (GetValues), "取消" drops them.
class CSysConfigDlg : public CDialogBase {
    Q_OBJECT
public:
    // `hotkey` is the program's global hotkey (the one the main window answers); not owned.
    CSysConfigDlg(platform::IGlobalHotkey& hotkey, const CConfGlobal::Values& current,
                  QWidget* parent = nullptr);
    ~CSysConfigDlg() override;

    // The values as "保存" takes them over (valid after the dialog ended with kIdOk).
    CConfGlobal::Values GetValues() const;
    // The hotkey value the dialog keeps: the stored one, or the last one "指定" registered.
    long GetHotkeyValue() const { return m_dwHotkey; }
    CHotkeyInput& HotkeyInput() { return *m_hotkeyInput; }

protected:
    bool OnInitDialog() override;

private:
    // "指定": registers the combination shown in the hotkey input.
    void OnAssignHotkey();
    // The answer to a registration the desktop gives later; "指定" is disabled until then.
    void OnRegistrationFinished(int id, bool registered);
    // Keeps `value` and says so, or reports the refusal.
    void OnHotkeyRegistered(long value, bool registered);
    void SetAssignEnabled(bool enabled);

    platform::IGlobalHotkey& m_hotkey;
    CConfGlobal::Values m_current;
    CHotkeyInput* m_hotkeyInput = nullptr;

    int m_bStartupHide = 0;
    int m_bCloseHides = 0;
    int m_bEscHides = 0;
    int m_bStartupSearch = 0;
    std::string m_strStartupTerm;
    int m_bHistorySaved = 0;
    long m_dwHotkey = 0;
    std::optional<long> m_pendingHotkey;  // asked for with "指定", not answered yet
};

// The settings object's dialog runner: runs the dialog on `current` as a window of `parent`;
// true with `result` filled when the user saved.
bool RunSysConfigDialog(platform::IGlobalHotkey& hotkey, QWidget* parent,
                        const CConfGlobal::Values& current, CConfGlobal::Values& result);
