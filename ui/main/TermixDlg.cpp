#include "ui/main/TermixDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QWindow>
#include <system_error>

#include "controls/LinkLabel.h"
#include "controls/MessageBox.h"
#include "controls/QtText.h"
#include "controls/ResourceImages.h"
#include "controls/SkinButton.h"
#include "controls/SortListCtrl.h"
#include "core/ConfGlobal.h"
#include "core/DamagedFile.h"
#include "core/DataLocation.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "core/HotkeyValue.h"
#include "core/PairFile.h"
#include "logging/LogCategories.h"
#include "platform/GlobalHotkey.h"
#include "platform/NativeWindow.h"
#include "platform/ShowRequestReceiver.h"
#include "resources/MainDialogIds.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/info/AboutDlg.h"
#include "ui/info/InfoDlg.h"
#include "ui/main/ExitSequence.h"
#include "ui/main/MainTexts.h"
#include "ui/main/TrayCallback.h"
#include "ui/settings/SysConfigDlg.h"
#include "util/FieldString.h"
#include "util/GbkText.h"

using namespace main_ids;

CTermixDlg::CTermixDlg(platform::IGlobalHotkey& hotkey, QWidget* parent)
    : CDialogBase(res::kDialogMain, parent), m_hotkey(hotkey) {
    // The only top-level window: it must not block the tray icon while it runs.
    setWindowModality(Qt::NonModal);
    BindText(kInput, &m_strInput);
    BindText(kTerm, &m_strTerm);
    BindText(kMeaning, &m_strMeaning);
    BindText(kExplain, &m_strExplain);
    BindText(kCopyText, &m_strCopyText);
    BindText(kSummary, &m_strSummary);
    BindText(kCount, &m_strCount);
    m_listResult = Control<CSortListCtrl>(kResultList);
    m_linkHome = Control<CLinkLabel>(kHomeLink);
    m_editInput = Control<QLineEdit>(kInput);
    if (auto* summary = Control<QPlainTextEdit>(kSummary)) {
        // The summary box is two lines high; no margin inside its frame, so both show.
        summary->document()->setDocumentMargin(0);
    }
    ConnectCommands();
    // The key filter sees the keys of every control before the control does.
    qApp->installEventFilter(this);
}

CTermixDlg::~CTermixDlg() {
    m_worker.Stop();
    qApp->removeEventFilter(this);
    CConfGlobal::SetDialogRunner(nullptr);
}

// ---- start-up ----------------------------------------------------------------------------

bool CTermixDlg::OnInitDialog() {
    // The controls exist and show the empty fields; the about entry of the window menu is
    // offered on a right-click of the background (contextMenuEvent).
    m_hMainIcon = LoadIconResource(res::kIconMain);
    setWindowIcon(m_hMainIcon);
    LoadSettings();
    RegisterHotkey();
    CreateTrayIcon();
    HintDesktopShortcut();
    SetMainTitle();
    SetUpTermList(*m_listResult);
    SetUpHomeLink();
    LoadHistory();
    LoadGlossary();
    ShowAboutEntry();
    WriteFields();
    SetButtonPointers();
    StartStartupWorker();
    WriteFields();
    return true;
}

void CTermixDlg::LoadSettings() {
    // An installed program first makes the user's data folders and first glossary.
    Guarded([] { GetDataLocation().Prepare(); });
    Guarded([] { GetConfGlobal(); });
    CConfGlobal::SetDialogRunner(
        [this](const CConfGlobal::Values& current, CConfGlobal::Values& result) {
            return RunSysConfigDialog(m_hotkey, this, current, result);
        });
}

void CTermixDlg::RegisterHotkey() {
    connect(&m_hotkey, &platform::IGlobalHotkey::activated, this, &CTermixDlg::OnHotkey);
    connect(&m_hotkey, &platform::IGlobalHotkey::registrationFinished, this,
            &CTermixDlg::OnStartupHotkeyAnswer);
    const hotkey::Combination combination = StoredHotkey();
    const auto result =
        m_hotkey.Register(hotkey::kHotkeyId, combination.modifiers, combination.virtualKey);
    if (result == platform::HotkeyRegistration::kRefused) {
        ShowMessageBox(GBK("向系统注册 Termix 热键失败!"), this);
    }
    m_startupHotkeyPending = result == platform::HotkeyRegistration::kPending;
}

hotkey::Combination CTermixDlg::StoredHotkey() const {
    const CConfGlobal* settings = Settings();
    return hotkey::Decode(settings ? settings->GetHotkey() : 0);
}

void CTermixDlg::HintDesktopShortcut() {
    if (StoredHotkey().virtualKey == 0 || m_hotkey.IsDesktopWide()) {
        return;
    }
    // A notification, or without a notification area a box that is not modal: it comes at every
    // start while the hotkey is set, and must not hold the start up until it is answered.
    const std::string& hint =
        GBK("这个桌面没有提供全局快捷键接口，Termix 的热键只在 Termix 的窗口"
            "处于活动状态时有效。\n\n"
            "请在桌面的键盘设置中添加一个自定义快捷键，命令为 termix: "
            "Termix 已在运行时，再次启动它会把它的窗口调到最前面。\n\n"
            "绑定之后，可以在“系统配置”中清空 Termix 的热键，"
            "这个提示就不会再出现。");
    if (!m_trayIcon.ShowMessage(QStringLiteral("Termix"), qtext::ToQt(hint))) {
        ShowMessageBoxWithoutWaiting(hint, this);
    }
}

void CTermixDlg::OnStartupHotkeyAnswer(int id, bool registered) {
    if (id != hotkey::kHotkeyId || !m_startupHotkeyPending) {
        return;
    }
    m_startupHotkeyPending = false;
    if (!registered && !m_ended) {
        ShowMessageBox(GBK("向系统注册 Termix 热键失败!"), this);
    }
}

void CTermixDlg::CreateTrayIcon() {
    connect(&m_trayIcon, &CTrayNotifyIcon::commandChosen, this, &CTermixDlg::OnTrayCommand);
    m_trayIcon.Create(this, tray::kTrayIconId, qtext::FromUtf8(res::kMainTitle), m_hMainIcon);
}

void CTermixDlg::SetMainTitle() {
    setWindowTitle(qtext::FromUtf8(res::kMainTitle));
    // A second copy finds the window by this title, also while it is hidden.
    platform::EnsureNativeWindow(this);
    m_showRequests = platform::CreateShowRequestReceiver(this);
    m_showRequests->Watch(this);
    connect(m_showRequests.get(), &platform::IShowRequestReceiver::showRequested, this,
            [this] { ShowMainWindow(true); });
}

void CTermixDlg::SetUpHomeLink() {
    if (m_linkHome == nullptr) {
        return;
    }
    m_linkHome->SetAddress(qtext::FromUtf8(res::kGlossarySiteAddress));
    m_linkHome->SetUnderlined(false);
    if (const std::optional<QCursor> pointer = LoadCursorResource(res::kCursorHand)) {
        m_linkHome->SetPointer(*pointer);
    }
}

void CTermixDlg::LoadHistory() {
    const CConfGlobal* settings = Settings();
    if (settings != nullptr && settings->GetSearchedHistorySaved()) {
        Guarded([] { GetSearchHistory().Load(); });
    }
}

void CTermixDlg::LoadGlossary() {
    long count = 0;
    Guarded([&count] { count = GetGlossary().GetCount(); });
    m_strCount = main_texts::CountLine(count);
}

void CTermixDlg::ShowAboutEntry() {
    m_strTerm = main_texts::AboutTerm();
    m_strMeaning = main_texts::AboutMeaning();
    m_strExplain = main_texts::AboutText();
    m_strCopyText.clear();
    m_strInput.clear();
}

void CTermixDlg::SetButtonPointers() {
    for (CSkinButton* button : findChildren<CSkinButton*>()) {
        button->SetPointer(res::kCursorHand, true);
    }
}

void CTermixDlg::StartStartupWorker() {
    StartupPlan plan;
    if (const CConfGlobal* settings = Settings()) {
        plan.hide = settings->GetStartupWindowHide();
        plan.search = settings->GetStartupSearchTermB();
        plan.term = settings->GetStartupSearchTermS();
    }
    // The worker only sleeps; what it hands over runs on the UI thread.
    try {
        m_worker.Start(
            plan,
            [this] {
                QMetaObject::invokeMethod(
                    this, [this] { OnStartupHide(); }, Qt::QueuedConnection);
            },
            [this](const std::string& term) {
                QMetaObject::invokeMethod(
                    this, [this, term] { OnStartupSearch(term); }, Qt::QueuedConnection);
            },
            m_startupDelays);
    } catch (const std::system_error& error) {
        qCWarning(lcUi) << "the start-up worker did not start:" << error.what();
        ShowMessageBox(GBK("“启动后的延时线程”运行失败!"), this);
    }
}

void CTermixDlg::OnStartupHide() {
    if (!m_ended) {
        ShowMainWindow(false);
    }
}

void CTermixDlg::OnStartupSearch(const std::string& term) {
    if (m_ended) {
        return;
    }
    SearchKeyword(term);
    WriteFields();
    qCInfo(lcUi).noquote() << "start-up search done:" << qtext::ToQt(term);
}

// ---- show, hide and exit -----------------------------------------------------------------

void CTermixDlg::ShowMainWindow(bool show) {
    if (show) {
        platform::ShowWindowInFront(this);
    } else {
        platform::MinimiseAndHideWindow(this);
    }
}

bool CTermixDlg::SaveBeforeExit() {
    if (m_ended) {
        return true;
    }
    m_ended = true;
    m_worker.Stop();
    RunSaveBeforeExit(ProgramExitStores(), [this](const std::string& message) {
        qCWarning(lcStore) << qtext::ToQt(message);
        ShowMessageBox(message, this);
    });
    return true;
}

void CTermixDlg::ExitProgram() {
    if (SaveBeforeExit()) {
        EndDialog(kIdCancel);
    }
}

void CTermixDlg::OnCloseRequest() {
    if (m_ended) {
        return;
    }
    CloseSecondaryWindows();
    ExitProgram();
}

void CTermixDlg::CloseSecondaryWindows() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    // The windows opened from this one (settings, data configuration with its own save on close,
    // information windows, message boxes) end first, each in its own way. One that stays open
    // (the data configuration window while its way back is disabled, after it saved) is ended
    // all the same: the request is to end the program.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget == this || !widget->isVisible() || !widget->inherits("QDialog")) {
            continue;
        }
        widget->close();
        if (auto* dialog = qobject_cast<CDialogBase*>(widget);
            dialog != nullptr && dialog->IsRunning()) {
            dialog->EndDialog(kIdCancel);
        }
    }
}

void CTermixDlg::OnCancel() {}

void CTermixDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_ended) {
        return;
    }
    const CConfGlobal* settings = Settings();
    if (settings != nullptr && settings->GetExitOrHide()) {
        ShowMainWindow(false);
    } else {
        ExitProgram();
    }
}

bool CTermixDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this || m_ended) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::AltModifier) {
        return false;  // Alt+Enter and Alt+Esc are system keys, not the window's
    }
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnEnterKey();
            return true;
        case Qt::Key_Escape: {
            const CConfGlobal* settings = Settings();
            if (settings != nullptr && settings->GetEscExitOrHide()) {
                ShowMainWindow(false);
            } else {
                ExitProgram();
            }
            return true;
        }
        default:
            return false;
    }
}

void CTermixDlg::OnEnterKey() {
    OnSearchButton();
}

void CTermixDlg::OnHotkey(int id) {
    if (id == hotkey::kHotkeyId && !m_ended) {
        ShowMainWindow(true);
    }
}

void CTermixDlg::OnTrayCommand(int commandId) {
    if (m_ended) {
        return;
    }
    if (commandId == tray::kCommandShow) {
        ShowMainWindow(true);
    } else if (commandId == tray::kCommandHide) {
        ShowMainWindow(false);
    }
}

// ---- search commands ---------------------------------------------------------------------

void CTermixDlg::ConnectCommands() {
    ConnectButton(kSearch, &CTermixDlg::OnSearchButton);
    ConnectButton(kHistoryButton, &CTermixDlg::OnHistory);
    ConnectButton(kAllButton, &CTermixDlg::OnAll);
    ConnectButton(kNonLetterButton, &CTermixDlg::OnNonLetter);
    for (int id = kFirstLetterButton; id <= kLastLetterButton; ++id) {
        if (auto* button = Control<QAbstractButton>(id)) {
            connect(button, &QAbstractButton::clicked, this, [this, id] { OnLetterButton(id); });
        }
    }
    ConnectButton(kCopyButton, &CTermixDlg::OnCopy);
    ConnectButton(kDataConfigButton, &CTermixDlg::OnDataConfig);
    ConnectButton(kSysConfigButton, &CTermixDlg::OnSysConfig);
    ConnectButton(kAboutButton, &CTermixDlg::OnAboutInfo);
    ConnectButton(kDevLogButton, &CTermixDlg::OnDevelopmentLog);
    ConnectButton(kExitButton, &CTermixDlg::OnExitButton);
    if (m_listResult != nullptr) {
        connect(m_listResult, &CSortListCtrl::RowClicked, this, &CTermixDlg::OnResultClick);
        connect(m_listResult, &CSortListCtrl::RowDoubleClicked, this,
                &CTermixDlg::OnResultDoubleClick);
    }
}

CConfGlobal* CTermixDlg::Settings() const {
    return HasConfGlobal() ? &GetConfGlobal() : nullptr;
}

template <typename Command>
void CTermixDlg::Guarded(Command&& command) {
    try {
        command();
    } catch (const Qm_conf_solitude_Exception& e) {
        const bool readError = e.m_kind == Qm_conf_solitude_Exception::Kind::kRead;
        if (!readError || m_reportedReadErrors.insert(e.m_message).second) {
            qCWarning(lcStore) << qtext::ToQt(e.m_message);
            ShowMessageBox(e.m_message, this);
        }
    }
    ShowDamagedFiles();
}

void CTermixDlg::ShowDamagedFiles() {
    for (const DamagedFile& damaged : TakeDamagedFileReports()) {
        qCWarning(lcStore) << qtext::ToQt(DamagedFileMessage(damaged));
        ShowMessageBox(DamagedFileMessage(damaged), this);
    }
}

void CTermixDlg::FocusInput() {
    if (m_editInput == nullptr) {
        return;
    }
    m_editInput->setFocus(Qt::OtherFocusReason);
    m_editInput->selectAll();
}

void CTermixDlg::OnSearchButton() {
    if (m_ended) {
        return;
    }
    ReadFields();
    SearchKeyword(m_strInput);
    WriteFields();
}

void CTermixDlg::SearchKeyword(const std::string& term) {
    // A copy: `term` may be one of the fields that ReadFields overwrites.
    const std::string keyword = term;
    Guarded([&] {
        ReadFields();
        const long count = GetGlossary().ListByKeyword(*m_listResult, keyword);
        if (count > 0) {
            GetSearchHistory().Add(keyword);
        }
        const bool found = ShowTermDetails(keyword);
        m_strSummary = main_texts::KeywordSummary(keyword, count, found);
        WriteFields();
    });
}

bool CTermixDlg::ShowTermDetails(const std::string& term) {
    return ShowTermDetails(term, true);
}

bool CTermixDlg::ShowTermDetailsKeepFocus(const std::string& term) {
    return ShowTermDetails(term, false);
}

void CTermixDlg::ClearDetails() {
    m_strTerm.clear();
    m_strMeaning.clear();
    m_strExplain.clear();
    m_strCopyText.clear();
}

bool CTermixDlg::ShowTermDetails(const std::string& term, bool focusInput) {
    CTermRecord record;
    bool found = false;
    Guarded([&] { found = GetGlossary().Get(term, record); });
    if (found) {
        m_strInput = record.m_cs_term;
        m_strTerm = record.m_cs_term;
        m_strMeaning = record.m_cs_meaning;
        m_strExplain = record.m_cs_explanation;
        m_strCopyText = main_texts::CopyText(record.m_cs_meaning, record.m_cs_term);
    } else {
        ClearDetails();
    }
    WriteFields();
    if (focusInput) {
        FocusInput();
    }
    return found;
}

void CTermixDlg::SearchInitial(char letter) {
    Guarded([&] {
        ReadFields();
        const long count = GetGlossary().ListByFirstLetter(*m_listResult, letter);
        m_strSummary = main_texts::InitialSummary(letter, count);
        WriteFields();
        FocusInput();
    });
}

void CTermixDlg::OnLetterButton(int id) {
    if (const char letter = letter_ids::LetterOfButton(id); letter != 0 && !m_ended) {
        SearchInitial(letter);
    }
}

void CTermixDlg::OnAll() {
    if (m_ended) {
        return;
    }
    Guarded([&] {
        ReadFields();
        m_strSummary = main_texts::AllSummary(GetGlossary().ListAll(*m_listResult));
        WriteFields();
        FocusInput();
    });
}

void CTermixDlg::OnNonLetter() {
    if (m_ended) {
        return;
    }
    Guarded([&] {
        ReadFields();
        m_strSummary = main_texts::NonLetterSummary(GetGlossary().ListNonLetter(*m_listResult));
        WriteFields();
        FocusInput();
    });
}

void CTermixDlg::OnHistory() {
    if (m_ended) {
        return;
    }
    Guarded([&] {
        GetSearchHistory().FillList(*m_listResult);
        ClearDetails();
        m_strSummary.clear();
        // No ReadFields first: the input shows its field's earlier value again.
        WriteFields();
        FocusInput();
    });
}

// ---- result list and copy ----------------------------------------------------------------

void CTermixDlg::OnResultClick() {
    if (m_ended || m_listResult->GetCurrentRow() < 0) {
        return;
    }
    const std::string term = CFieldString(m_listResult->GetRowText(IReportList::kRowSeparator))
                                 .GetField(0, IReportList::kRowSeparator)
                                 .str();
    Guarded([&] {
        if (ShowTermDetailsKeepFocus(term)) {
            return;
        }
        SearchKeyword(term);
        m_strInput = term;
        WriteFields();
        FocusInput();
    });
}

void CTermixDlg::OnResultDoubleClick() {
    FocusInput();
}

void CTermixDlg::OnCopy() {
    FocusInput();
    ReadFields();
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setText(qtext::ToQt(m_strCopyText));
    }
}

// ---- navigation --------------------------------------------------------------------------

void CTermixDlg::OnDataConfig() {
    if (m_ended) {
        return;
    }
    {
        CDataConfigDlg dialog(this);
        dialog.DoModal();
    }
    if (m_ended) {
        return;  // a close request arrived while it was open; the stores are gone
    }
    ClearDetails();
    m_strSummary.clear();
    long count = 0;
    Guarded([&count] { count = GetGlossary().GetCount(); });
    m_strCount = main_texts::CountLine(count);
    WriteFields();
    FocusInput();
    m_listResult->DeleteAllRows();
}

void CTermixDlg::OnSysConfig() {
    if (m_ended) {
        return;
    }
    Guarded([] { GetConfGlobal().Configure(); });
    if (!m_ended) {
        FocusInput();
    }
}

void CTermixDlg::OnAboutInfo() {
    if (m_ended) {
        return;
    }
    CInfoDlg dialog(this);
    dialog.SetMode(GBK("关于"));
    dialog.DoModal();
    FocusInput();
}

void CTermixDlg::OnDevelopmentLog() {
    if (m_ended) {
        return;
    }
    CInfoDlg dialog(this);
    dialog.SetMode("readme.txt");
    dialog.DoModal();
    FocusInput();
}

void CTermixDlg::OnExitButton() {
    ExitProgram();
}

void CTermixDlg::OpenAboutBox() {
    if (m_ended) {
        return;
    }
    CAboutDlg dialog(this);
    dialog.DoModal();
}

// ---- window behaviour --------------------------------------------------------------------

bool CTermixDlg::IsFreeSpot(const QPoint& pos) const {
    // Labels, group boxes and pictures let the mouse through, so they count as background.
    return childAt(pos) == nullptr;
}

void CTermixDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && IsFreeSpot(event->position().toPoint())) {
        QWindow* window = windowHandle();
        if (window == nullptr || !window->startSystemMove()) {
            // Without a window manager move, the window follows the pointer itself.
            m_dragging = true;
            m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        }
    }
    CDialogBase::mousePressEvent(event);
}

void CTermixDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
    CDialogBase::mouseMoveEvent(event);
}

void CTermixDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
    }
    CDialogBase::mouseReleaseEvent(event);
}

void CTermixDlg::contextMenuEvent(QContextMenuEvent* event) {
    const std::string caption = res::LoadString(res::kStringAboutMenu);
    if (caption.empty() || m_ended || !IsFreeSpot(event->pos())) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    QAction* about = menu.addAction(qtext::FromUtf8(caption));
    if (menu.exec(event->globalPos()) == about) {
        OpenAboutBox();
    }
}
