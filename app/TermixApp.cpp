#include "app/TermixApp.h"

#include <QApplication>
#include <QMenu>
#include <QPalette>
#include <memory>

#include "platform/CloseRequestWatcher.h"
#include "platform/GlobalHotkey.h"
#include "platform/SessionBusPreconnect.h"
#include "platform/WindowActivation.h"
#include "resources/StringTable.h"
#include "ui/main/ClipboardSource.h"
#include "ui/main/TermixDlg.h"
#include "util/ClipboardReader.h"

int CTermixApp::Run() {
    InitInstance();
    return ExitInstance();
}

bool CTermixApp::InitInstance() {
    if (!m_hMutex.TryAcquire(kMutexName)) {
        // Another copy runs (or the marker could not be made): bring its window forward and end
        // without a word.
        platform::ActivateExistingWindow(res::kMainTitle);
        return false;
    }
    SetDialogColours();
    RunMainWindow();
    return false;
}

int CTermixApp::ExitInstance() {
    m_hMutex.Release();
    return 0;
}

void CTermixApp::SetDialogColours() {
    // Dialog background: the menu colour of the desktop's scheme; static text a dark green.
    QPalette palette = QApplication::palette();
    const QColor menuColour = QApplication::palette("QMenu").color(QPalette::Window);
    const QColor textColour(35, 75, 45);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, menuColour);
        palette.setColor(group, QPalette::WindowText, textColour);
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, menuColour);
    QApplication::setPalette(palette);
}

void CTermixApp::RunMainWindow() {
    // Made while the window below loads its fonts, before its first control asks for it.
    const platform::SessionBusPreconnect sessionBus;
    // Windows are hidden and shown while the program runs; only the exit sequence ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    CQtClipboardSource clipboard;
    SetClipboardSource(&clipboard);
    const std::unique_ptr<platform::IGlobalHotkey> hotkey = platform::CreateGlobalHotkey();
    platform::CloseRequestWatcher closeRequests;
    {
        CTermixDlg dialog(*hotkey);
        QObject::connect(&closeRequests, &platform::CloseRequestWatcher::closeRequested, &dialog,
                         &CTermixDlg::OnCloseRequest);
        dialog.DoModal();
    }  // the window is destroyed here, which removes the tray icon
    SetClipboardSource(nullptr);
}
