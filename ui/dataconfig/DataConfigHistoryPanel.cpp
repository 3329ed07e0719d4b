// The operation history panel of the data configuration window: the panel switch, the list of
// logged versions and the buttons that put a version back, swap it or delete the term.
#include <QAbstractButton>
#include <initializer_list>

#include "controls/QtText.h"
#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "core/OperationLog.h"
#include "resources/DataConfigDialogIds.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/RowTerm.h"
#include "util/GbkText.h"

using namespace dataconfig_ids;

void CDataConfigDlg::OnPanelSwitch() {
    SwitchPanel(!m_historyShown);
}

void CDataConfigDlg::SwitchPanel(bool showHistory) {
    m_historyShown = showHistory;
    m_listHistory->hide();
    m_listTerms->hide();
    ClearFields();
    FocusTermInput();
    auto* button = Control<QAbstractButton>(kPanelSwitch);
    if (showHistory) {
        m_listHistory->show();
        button->setText(qtext::ToQt(GBK("到数据配置")));
        m_strPanelLabel = GBK("“操作历史”面板");
        EnablePanel(false);
        GetOperationLog().FillList(*m_listHistory);
    } else {
        // The term list comes back with the rows it had; it is not refilled.
        m_listTerms->show();
        button->setText(qtext::ToQt(GBK("到操作历史")));
        m_strPanelLabel = GBK("“数据配置”面板");
        EnablePanel(true);
    }
    WriteFields();
}

void CDataConfigDlg::EnablePanel(bool dataConfig) {
    for (int id : {kTermEdit, kMeaningEdit, kExplainEdit}) {
        GetControl(id)->setEnabled(dataConfig);
    }
    // The history panel's buttons lie over 1010, 1012 and 1013; they stay disabled until a row
    // of the history list is clicked.
    for (int id : {kHistoryAdd, kHistoryUpdate, kHistoryDelete}) {
        ShowAndEnable(id, !dataConfig, false);
    }
    for (int id :
         {kToMain, kUpdate, kDelete, kNonLetter, kAll, kAdd, kAutoSplit, kOpenDirectory, kHelp}) {
        GetControl(id)->setEnabled(dataConfig);
    }
    for (int id = kFirstLetter; id <= kLastLetter; ++id) {
        GetControl(id)->setEnabled(dataConfig);
    }
}

std::optional<std::string> CDataConfigDlg::HistoryRowTerm() const {
    if (m_listHistory->GetCurrentRow() < 0) {
        return std::nullopt;
    }
    return TermOfCurrentRow(*m_listHistory);
}

void CDataConfigDlg::OnHistoryListClick() {
    ReadFields();
    const std::optional<std::string> term = HistoryRowTerm();
    if (!term) {
        return;
    }
    CTermRecord logged;
    if (!GetOperationLog().Get(*term, logged)) {
        ClearFields();
        WriteFields();
        return;
    }
    m_strTerm = logged.m_cs_term;
    m_strMeaning = logged.m_cs_meaning;
    m_strExplain = logged.m_cs_explanation;
    WriteFields();
    // A term gone from the glossary can only be put back; a present one deleted or swapped.
    const bool present = GetGlossary().Exists(*term);
    ShowAndEnable(kHistoryAdd, !present, !present);
    ShowAndEnable(kHistoryDelete, present, present);
    ShowAndEnable(kHistoryUpdate, present, present);
}

void CDataConfigDlg::OnPutBack() {
    const std::optional<std::string> term = HistoryRowTerm();
    if (!term) {
        return;
    }
    CTermRecord logged;
    if (GetOperationLog().Get(*term, logged)) {
        GetGlossary().Add(logged);
    }
    EndHistoryCommand();
}

void CDataConfigDlg::OnSwap() {
    const std::optional<std::string> term = HistoryRowTerm();
    if (!term) {
        return;
    }
    CTermRecord logged;
    CTermRecord current;
    if (GetOperationLog().Get(*term, logged)) {
        // Without a glossary record there is nothing to swap with; the logged version is put
        // back and the log keeps it.
        const bool present = GetGlossary().Get(*term, current);
        GetGlossary().Add(logged);
        if (present) {
            GetOperationLog().Add(current);
        }
    }
    EndHistoryCommand();
}

void CDataConfigDlg::OnHistoryDelete() {
    const std::optional<std::string> term = HistoryRowTerm();
    if (!term) {
        return;
    }
    GetGlossary().Delete(*term);
    EndHistoryCommand();
}

// The common end of the three history buttons. No list is refilled and nothing is saved.
void CDataConfigDlg::EndHistoryCommand() {
    for (int id : {kHistoryAdd, kHistoryDelete, kHistoryUpdate}) {
        GetControl(id)->setEnabled(false);
    }
    ClearFields();
    UpdateTermCount();
    WriteFields();
    FocusField(kTermEdit);
}
