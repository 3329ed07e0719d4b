#include "ui/settings/SysConfigDlg.h"

#include <QAbstractButton>
#include <QKeySequenceEdit>

#include "controls/MessageBox.h"
#include "controls/SkinButton.h"
#include "core/HotkeyValue.h"
#include "platform/GlobalHotkey.h"
#include "resources/ResourceIds.h"
#include "resources/SettingsDialogIds.h"
#include "ui/settings/HotkeyInput.h"
#include "util/GbkText.h"

using namespace settings_ids;

CSysConfigDlg::CSysConfigDlg(platform::IGlobalHotkey& hotkey, const CConfGlobal::Values& current,
                             QWidget* parent)
    : CDialogBase(res::kDialogSettings, parent), m_hotkey(hotkey), m_current(current) {
    BindCheck(kStartupHide, &m_bStartupHide);
    BindCheck(kCloseHides, &m_bCloseHides);
    BindCheck(kEscHides, &m_bEscHides);
    BindCheck(kStartupSearch, &m_bStartupSearch);
    BindText(kStartupTerm, &m_strStartupTerm);
    BindCheck(kHistorySaved, &m_bHistorySaved);
    if (auto* edit = Control<QKeySequenceEdit>(kHotkeyInput)) {
        m_hotkeyInput = new CHotkeyInput(edit);
    }
    if (auto* assign = Control<QAbstractButton>(kAssignHotkey)) {
        connect(assign, &QAbstractButton::clicked, this, &CSysConfigDlg::OnAssignHotkey);
    }
    connect(&m_hotkey, &platform::IGlobalHotkey::registrationFinished, this,
            &CSysConfigDlg::OnRegistrationFinished);
}

CSysConfigDlg::~CSysConfigDlg() = default;

bool CSysConfigDlg::OnInitDialog() {
    m_bStartupHide = m_current.startupWindowHide ? 1 : 0;
    m_bCloseHides = m_current.exitOrHide ? 1 : 0;
    m_bEscHides = m_current.escExitOrHide ? 1 : 0;
    m_bStartupSearch = m_current.startupSearchTermB ? 1 : 0;
    m_strStartupTerm = m_current.startupSearchTermS;
    m_bHistorySaved = m_current.searchedHistorySaved ? 1 : 0;
    m_dwHotkey = m_current.hotkey;
    WriteFields();
    const hotkey::Combination shown = hotkey::Decode(m_dwHotkey);
    if (m_hotkeyInput != nullptr) {
        m_hotkeyInput->SetHotKey(shown.virtualKey & 0xFFu,
                                 hotkey::ModToControlFlags(shown.modifiers) & 0xFFu);
    }
    for (CSkinButton* button : findChildren<CSkinButton*>()) {
        button->SetPointer(res::kCursorHand, true);
    }
    return true;
}

void CSysConfigDlg::OnAssignHotkey() {
    if (m_hotkeyInput == nullptr) {
        return;
    }
    const unsigned virtualKey = m_hotkeyInput->VirtualKey();
    const unsigned modifiers = hotkey::ControlFlagsToMod(m_hotkeyInput->ControlFlags());
    if (virtualKey == 0) {
        // Nothing to register: the program keeps what it registered during this run, and after
        // "保存" no hotkey is registered at the next start.
        m_dwHotkey = 0;
        ShowMessageBox(GBK("没有指定热键: 保存后，下次启动时不再注册热键。\n"
                           "本次运行中已注册的热键仍然有效，直到程序退出。"),
                       this);
        return;
    }
    switch (m_hotkey.Register(hotkey::kHotkeyId, modifiers, virtualKey)) {
        case platform::HotkeyRegistration::kRegistered:
            OnHotkeyRegistered(hotkey::Encode(modifiers, virtualKey), true);
            break;
        case platform::HotkeyRegistration::kRefused:
            OnHotkeyRegistered(0, false);
            break;
        case platform::HotkeyRegistration::kPending:
            // The desktop answers later: "指定" waits for that answer.
            m_pendingHotkey = hotkey::Encode(modifiers, virtualKey);
            SetAssignEnabled(false);
            break;
    }
}

void CSysConfigDlg::OnRegistrationFinished(int id, bool registered) {
    if (id != hotkey::kHotkeyId || !m_pendingHotkey) {
        return;
    }
    const long value = *m_pendingHotkey;
    m_pendingHotkey.reset();
    SetAssignEnabled(true);
    OnHotkeyRegistered(value, registered);
}

void CSysConfigDlg::OnHotkeyRegistered(long value, bool registered) {
    if (!registered) {
        ShowMessageBox(GBK("向系统注册 Termix 热键失败!"), this);
        return;
    }
    m_dwHotkey = value;
    ShowMessageBox(GBK("热键注册成功，立即可用。"), this);
}

void CSysConfigDlg::SetAssignEnabled(bool enabled) {
    if (auto* assign = Control<QAbstractButton>(kAssignHotkey)) {
        assign->setEnabled(enabled);
    }
}

CConfGlobal::Values CSysConfigDlg::GetValues() const {
    CConfGlobal::Values values;
    values.startupWindowHide = m_bStartupHide != 0;
    values.exitOrHide = m_bCloseHides != 0;
    values.escExitOrHide = m_bEscHides != 0;
    values.startupSearchTermB = m_bStartupSearch != 0;
    values.startupSearchTermS = m_strStartupTerm;
    values.hotkey = m_dwHotkey;
    values.searchedHistorySaved = m_bHistorySaved != 0;
    return values;
}

bool RunSysConfigDialog(platform::IGlobalHotkey& hotkey, QWidget* parent,
                        const CConfGlobal::Values& current, CConfGlobal::Values& result) {
    CSysConfigDlg dialog(hotkey, current, parent);
    if (dialog.DoModal() != CDialogBase::kIdOk) {
        return false;
    }
    result = dialog.GetValues();
    return true;
}
