#include "ui/dataconfig/DataConfigDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>

#include "controls/ColorLabel.h"
#include "controls/LinkLabel.h"
#include "controls/MessageBox.h"
#include "controls/QtText.h"
#include "controls/ResourceImages.h"
#include "controls/SkinButton.h"
#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "logging/LogCategories.h"
#include "resources/DataConfigDialogIds.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"
#include "util/GbkText.h"

using namespace dataconfig_ids;

CDataConfigDlg::CDataConfigDlg(QWidget* parent) : CDialogBase(res::kDialogDataConfig, parent) {
    m_listTerms = Control<CSortListCtrl>(kTermList);
    m_listHistory = Control<CSortListCtrl>(kHistoryList);
    m_labelPanel = Control<CColorLabel>(kPanelLabel);
    m_linkHome = Control<CLinkLabel>(kHomeLink);

    BindText(kTermEdit, &m_strTerm);
    BindText(kMeaningEdit, &m_strMeaning);
    BindText(kExplainEdit, &m_strExplain);
    BindText(kTitle, &m_strTitle);
    BindText(kPanelLabel, &m_strPanelLabel);
    BindText(kCount, &m_strCount);

    ConnectCommands();
}

CDataConfigDlg::~CDataConfigDlg() = default;

// The window's commands and list notifications, all in one place. Button 2 reaches OnCancel
// through the dialog base.
void CDataConfigDlg::ConnectCommands() {
    ConnectButton(kAdd, &CDataConfigDlg::OnAdd);
    ConnectButton(kClearInput, &CDataConfigDlg::OnClearInput);
    ConnectButton(kAutoSplit, &CDataConfigDlg::AutoSplitClipboard);
    ConnectButton(kAll, &CDataConfigDlg::OnAll);
    ConnectButton(kNonLetter, &CDataConfigDlg::OnNonLetter);
    ConnectButton(kOpenDirectory, &CDataConfigDlg::OnOpenDirectory);
    ConnectButton(kHelp, &CDataConfigDlg::OnHelp);
    ConnectButton(kDelete, &CDataConfigDlg::OpenTermEditor);
    ConnectButton(kUpdate, &CDataConfigDlg::OpenTermEditor);
    ConnectButton(kPanelSwitch, &CDataConfigDlg::OnPanelSwitch);
    ConnectButton(kHistoryAdd, &CDataConfigDlg::OnPutBack);
    ConnectButton(kHistoryUpdate, &CDataConfigDlg::OnSwap);
    ConnectButton(kHistoryDelete, &CDataConfigDlg::OnHistoryDelete);
    for (int id = kFirstLetter; id <= kLastLetter; ++id) {
        if (auto* button = Control<QAbstractButton>(id)) {
            connect(button, &QAbstractButton::clicked, this, [this, id] { OnLetter(id); });
        }
    }
    connect(m_listTerms, &CSortListCtrl::RowClicked, this, &CDataConfigDlg::OnTermListClick);
    connect(m_listTerms, &CSortListCtrl::RowRightClicked, this, &CDataConfigDlg::OpenTermEditor);
    connect(m_listTerms, &CSortListCtrl::RowDoubleClicked, this,
            &CDataConfigDlg::OnTermListDoubleClick);
    connect(m_listHistory, &CSortListCtrl::RowClicked, this, &CDataConfigDlg::OnHistoryListClick);
}

int CDataConfigDlg::DoModal() {
    try {
        GetGlossary();
    } catch (const Qm_conf_solitude_Exception& error) {
        qCWarning(lcStore) << qtext::ToQt(error.m_message);
        ShowMessageBox(error.m_message + GBK("\n\n术语库无法读入，不能打开数据配置窗口!"),
                       parentWidget());
        return kIdCancel;
    }
    return CDialogBase::DoModal();
}

bool CDataConfigDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    SetUpTermList(*m_listTerms);
    SetUpTermList(*m_listHistory);
    SwitchPanel(false);
    StylePanelLabel();
    for (auto* button : findChildren<CSkinButton*>()) {
        button->SetPointer(res::kCursorHand, false);
    }
    // The history panel's buttons start hidden and disabled (SwitchPanel has done it already).
    for (int id : {kHistoryAdd, kHistoryUpdate, kHistoryDelete}) {
        ShowAndEnable(id, false, false);
    }
    UpdateTermCount();
    SetUpHomeLink();
    m_strTitle = gbk::FromUtf8(res::kMainTitle);
    WriteFields();
    // The focus stays where SwitchPanel put it: in the term field.
    return false;
}

void CDataConfigDlg::StylePanelLabel() {
    m_labelPanel->SetLabelColor(QColor(125, 20, 40));
    m_labelPanel->SetBold(true);
    m_labelPanel->SetFontHeight(16);
    m_labelPanel->SetBackColor(QApplication::palette("QMenu").color(QPalette::Window));
}

void CDataConfigDlg::SetUpHomeLink() {
    m_linkHome->SetAddress(QString::fromUtf8(res::kGlossarySiteAddress));
    m_linkHome->SetUnderlined(false);
    m_linkHome->SetPointer(
        LoadCursorResource(res::kCursorHand).value_or(QCursor(Qt::PointingHandCursor)));
}

void CDataConfigDlg::OnEnterKey() {
    // Enter only presses a push button that has the focus; it never closes the window.
    if (qobject_cast<QAbstractButton*>(focusWidget()) != nullptr) {
        CDialogBase::OnEnterKey();
    }
}

void CDataConfigDlg::OnCancel() {
    if (SaveGlossary()) {
        CDialogBase::OnCancel();
    }
}

void CDataConfigDlg::closeEvent(QCloseEvent* event) {
    if (!IsRunning()) {
        event->accept();
        return;
    }
    // The window closes only through EndDialog, after a successful save.
    event->ignore();
    const QWidget* toMain = GetControl(kToMain);
    if (toMain != nullptr && toMain->isEnabled()) {
        OnCancel();
        return;
    }
    // Like the dialog manager: a close request while the cancel button is disabled only beeps,
    // after the glossary has been saved.
    SaveGlossary();
    QApplication::beep();
}

bool CDataConfigDlg::SaveGlossary() {
    try {
        // Another program's change to the file since the window read it is read in first:
        // taken whole when nothing was changed here, merged record by record otherwise.
        switch (GetGlossary().Save()) {
            case CGlossary::SaveResult::kWritten:
                break;
            case CGlossary::SaveResult::kReloaded:
                qCInfo(lcStore) << "the glossary file was changed by another program: read again";
                break;
            case CGlossary::SaveResult::kMerged:
                qCInfo(lcStore) << "the glossary file was changed by another program: the changes "
                                   "made here were merged into it";
                break;
        }
        return true;
    } catch (const Qm_conf_solitude_Exception& error) {
        qCWarning(lcStore) << qtext::ToQt(error.m_message);
        ShowMessageBox(
            error.m_message +
                GBK("\n\n术语库没有保存，这次所做的修改仍然保留。请排除问题后再试一次。"),
            this);
        return false;
    }
}

void CDataConfigDlg::FocusTermInput() {
    auto* edit = Control<QLineEdit>(kTermEdit);
    edit->setFocus();
    edit->selectAll();
}

void CDataConfigDlg::FocusField(int id) {
    if (QWidget* field = GetControl(id)) {
        field->setFocus();
    }
}

void CDataConfigDlg::UpdateTermCount() {
    m_strCount = GBK("-- 术语总数: ") + std::to_string(GetGlossary().GetCount()) + GBK(" 条 --");
}

void CDataConfigDlg::ClearFields() {
    m_strTerm.clear();
    m_strMeaning.clear();
    m_strExplain.clear();
}

void CDataConfigDlg::ShowTermInFields(const std::string& term) {
    CTermRecord record;
    if (!GetGlossary().Get(term, record)) {
        ClearFields();
        WriteFields();
        FocusTermInput();
        return;
    }
    m_strTerm = record.m_cs_term;
    m_strMeaning = record.m_cs_meaning;
    m_strExplain = record.m_cs_explanation;
    WriteFields();
}

void CDataConfigDlg::ShowAndEnable(int id, bool visible, bool enabled) {
    if (QWidget* control = GetControl(id)) {
        control->setVisible(visible);
        control->setEnabled(enabled);
    }
}
