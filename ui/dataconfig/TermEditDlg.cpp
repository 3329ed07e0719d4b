#include "ui/dataconfig/TermEditDlg.h"

#include <QAbstractButton>

#include "controls/MessageBox.h"
#include "controls/SkinButton.h"
#include "core/TermRecordCheck.h"
#include "resources/ResourceIds.h"
#include "resources/TermEditDialogIds.h"

using namespace termedit_ids;

CTermEditDlg::CTermEditDlg(QWidget* parent) : CDialogBase(res::kDialogTermEdit, parent) {
    BindText(kTermEdit, &m_strTerm);
    BindText(kMeaningEdit, &m_strMeaning);
    BindText(kExplainEdit, &m_strExplain);
    // Button 2 "关    闭" reaches OnCancel through the dialog base.
    connect(Control<QAbstractButton>(kDeleteButton), &QAbstractButton::clicked, this,
            &CTermEditDlg::OnDeleteTerm);
    connect(Control<QAbstractButton>(kUpdateButton), &QAbstractButton::clicked, this,
            &CTermEditDlg::OnUpdateTerm);
}

CTermEditDlg::~CTermEditDlg() = default;

void CTermEditDlg::SetRecord(const CTermRecord& record) {
    m_strTerm = record.m_cs_term;
    m_strMeaning = record.m_cs_meaning;
    m_strExplain = record.m_cs_explanation;
}

void CTermEditDlg::GetRecord(CTermRecord& record) const {
    record.m_cs_meaning = m_strMeaning;
    record.m_cs_explanation = m_strExplain;
}

bool CTermEditDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    WriteFields();
    for (auto* button : findChildren<CSkinButton*>()) {
        button->SetPointer(res::kCursorHand, false);
    }
    // The meaning is the first field that takes the focus by Tab.
    GetControl(kMeaningEdit)->setFocus();
    return false;
}

void CTermEditDlg::OnDeleteTerm() {
    m_nAction = kDelete;
    EndDialog(kIdCancel);
}

void CTermEditDlg::OnUpdateTerm() {
    ReadFields();
    // A record that would not read back from the glossary file intact is refused here, so the
    // user can correct it without losing the edit.
    const TermRecordProblem problem =
        CheckTermRecord(CTermRecord(m_strTerm, m_strMeaning, m_strExplain));
    if (!problem.ok()) {
        ShowMessageBox(problem.message, this);
        GetControl(problem.field == TermRecordProblem::Field::kExplanation ? kExplainEdit
                                                                           : kMeaningEdit)
            ->setFocus();
        return;
    }
    m_nAction = kUpdate;
    EndDialog(kIdCancel);
}
