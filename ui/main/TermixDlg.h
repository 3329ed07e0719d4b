#pragma once

#include <QIcon>
#include <QPoint>
#include <memory>
#include <set>
#include <string>

#include "controls/DialogBase.h"
#include "core/HotkeyValue.h"
#include "ui/main/StartupWorker.h"
#include "ui/main/TrayNotifyIcon.h"

class CConfGlobal;
class CLinkLabel;
class CSortListCtrl;
class QContextMenuEvent;
class QLineEdit;
class QMouseEvent;

namespace platform {
class IGlobalHotkey;
class IShowRequestReceiver;
}  // namespace platform

// The main search window (dialog 102): the search input, the result list, the detail fields,
// the letter buttons and the buttons that open the other windows. It owns the tray icon, answers
// the global hotkey and show requests of a second copy, and runs the exit sequence on every way
// out. Run it with DoModal(); the run ends when the program exits.
class CTermixDlg : public CDialogBase {
    Q_OBJECT
public:
    // `hotkey` is the program's global hotkey, shared with the settings dialog; not owned.
    explicit CTermixDlg(platform::IGlobalHotkey& hotkey, QWidget* parent = nullptr);
    ~CTermixDlg() override;

    // Shows (restored, in front) or hides (minimised, then hidden: no taskbar entry) the window.
    void ShowMainWindow(bool show);
    // Saves the history (when on) and releases the glossary and the settings; once per run.
    bool SaveBeforeExit();
    // Saves and ends the window's run.
    void ExitProgram();
    // A request from outside to end (signal, session end): saves and ends whatever the hide
    // settings say; an open secondary window is closed first.
    void OnCloseRequest();
    // Focus to the search input with all of its text selected.
    void FocusInput();

    // The search commands.
    void SearchKeyword(const std::string& term);
    void SearchInitial(char letter);
    // Shows the glossary's record for exactly `term` and returns true, or empties the detail
    // fields and returns false.
    bool ShowTermDetails(const std::string& term);
    bool ShowTermDetailsKeepFocus(const std::string& term);

    bool HasEnded() const { return m_ended; }
    CTrayNotifyIcon& TrayIcon() { return m_trayIcon; }
    // Tests shorten the start-up worker's waits; call before DoModal.
    void SetStartupDelaysForTesting(StartupDelays delays) { m_startupDelays = delays; }
    // True once the start-up worker has handed over all its steps (or never started).
    bool StartupWorkerFinished() const { return !m_worker.IsRunning() || m_worker.IsFinished(); }

protected:
    bool OnInitDialog() override;
    // Enter anywhere in the window runs the keyword search of the input.
    void OnEnterKey() override;
    // The cancel command never ends this window: only the exit sequence does.
    void OnCancel() override;
    // The close command (title-bar close, Alt+F4): hides or exits as the setting says.
    void closeEvent(QCloseEvent* event) override;
    // The key filter: Enter and ESC in every control of the window.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Dragging the window by any free spot, and the about entry on a right-click there.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Start-up steps, in the order OnInitDialog runs them.
    void LoadSettings();
    void RegisterHotkey();
    // The desktop's later answer to the start-up registration: a refusal is reported.
    void OnStartupHotkeyAnswer(int id, bool registered);
    void CreateTrayIcon();
    // Where the stored hotkey would fire only in the program's own windows (no desktop portal on
    // Wayland), says in a notification of the tray icon (a box that is not modal without one)
    // how to bind a desktop shortcut instead.
    void HintDesktopShortcut();
    // The hotkey the settings hold; none when they did not load.
    hotkey::Combination StoredHotkey() const;
    void SetMainTitle();
    void SetUpHomeLink();
    void LoadHistory();
    void LoadGlossary();
    void ShowAboutEntry();
    void SetButtonPointers();
    void StartStartupWorker();

    void ConnectCommands();
    // The settings object when it is loaded, else null (a failed load is not retried here, so
    // the file it could not read is never overwritten with empty values at exit).
    CConfGlobal* Settings() const;
    // Runs `command`; a store's read or write exception is shown and the program goes on. A file
    // that cannot be read is reported once: later commands that retry it stay quiet. Files that
    // read as damaged meanwhile are reported too.
    template <typename Command>
    void Guarded(Command&& command);
    void ShowDamagedFiles();
    void ClearDetails();
    bool ShowTermDetails(const std::string& term, bool focusInput);
    void CloseSecondaryWindows();
    bool IsFreeSpot(const QPoint& pos) const;

    // Commands.
    void OnSearchButton();
    void OnLetterButton(int id);
    void OnAll();
    void OnNonLetter();
    void OnHistory();
    void OnResultClick();
    void OnResultDoubleClick();
    void OnCopy();
    void OnDataConfig();
    void OnSysConfig();
    void OnAboutInfo();
    void OnDevelopmentLog();
    void OnExitButton();
    void OnTrayCommand(int commandId);
    void OnHotkey(int id);
    void OnStartupHide();
    void OnStartupSearch(const std::string& term);
    void OpenAboutBox();

    std::string m_strInput;
    std::string m_strTerm;
    std::string m_strMeaning;
    std::string m_strExplain;
    std::string m_strCopyText;
    std::string m_strSummary;
    std::string m_strCount;

    QIcon m_hMainIcon;
    CTrayNotifyIcon m_trayIcon;
    CSortListCtrl* m_listResult = nullptr;
    CLinkLabel* m_linkHome = nullptr;
    QLineEdit* m_editInput = nullptr;

    platform::IGlobalHotkey& m_hotkey;
    std::unique_ptr<platform::IShowRequestReceiver> m_showRequests;
    CStartupWorker m_worker;
    StartupDelays m_startupDelays;
    bool m_ended = false;
    bool m_startupHotkeyPending = false;  // the desktop has not answered the start-up registration
    std::set<std::string> m_reportedReadErrors;

    bool m_dragging = false;
    QPoint m_dragOffset;
};
