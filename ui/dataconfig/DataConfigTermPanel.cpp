// The term editing panel of the data configuration window: adding terms, the letter buttons,
// picking a term from the list, the auto-split and the buttons that leave the panel's work.
#include <QLineEdit>

#include "controls/MessageBox.h"
#include "controls/QtText.h"
#include "controls/SortListCtrl.h"
#include "core/AutoSplit.h"
#include "core/DataLocation.h"
#include "core/Glossary.h"
#include "core/OperationLog.h"
#include "core/TermRecordCheck.h"
#include "resources/DataConfigDialogIds.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/DirectoryOpener.h"
#include "ui/dataconfig/RowTerm.h"
#include "ui/info/InfoDlg.h"
#include "util/ClipboardReader.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

using namespace dataconfig_ids;

namespace {

int ControlOfField(TermRecordProblem::Field field) {
    switch (field) {
        case TermRecordProblem::Field::kMeaning:
            return kMeaningEdit;
        case TermRecordProblem::Field::kExplanation:
            return kExplainEdit;
        case TermRecordProblem::Field::kTerm:
        case TermRecordProblem::Field::kNone:
            break;
    }
    return kTermEdit;
}

}  // namespace

void CDataConfigDlg::OnAdd() {
    ReadFields();
    if (m_strTerm.empty()) {
        ShowMessageBox(GBK("术语不可以为空!"), this);
        FocusField(kTermEdit);
        WriteFields();
        return;
    }
    if (m_strMeaning.empty()) {
        ShowMessageBox(GBK("汉意不可以为空!"), this);
        FocusField(kMeaningEdit);
        WriteFields();
        return;
    }
    CGlossary& glossary = GetGlossary();
    CTermRecord stored;
    if (glossary.Get(m_strTerm, stored)) {
        ShowMessageBox(GBK("术语已经存在，不能增加同样的术语!\n\n术语: ") + stored.m_cs_term +
                           GBK("\n汉意: ") + stored.m_cs_meaning + GBK("\n解释: ") +
                           stored.m_cs_explanation,
                       this);
        FocusTermInput();
        WriteFields();
        return;
    }
    const CTermRecord record(m_strTerm, m_strMeaning, m_strExplain);
    // A record that would not read back from the glossary file intact is never stored.
    const TermRecordProblem problem = CheckTermRecord(record);
    if (!problem.ok()) {
        ShowMessageBox(problem.message, this);
        FocusField(ControlOfField(problem.field));
        WriteFields();
        return;
    }
    glossary.AddAndShow(record, *m_listTerms);
    GetOperationLog().Add(record);
    ClearFields();
    FocusTermInput();
    UpdateTermCount();
    WriteFields();
}

void CDataConfigDlg::OnClearInput() {
    ClearFields();
    FocusField(kTermEdit);
    WriteFields();
}

void CDataConfigDlg::OnLetter(int id) {
    GetGlossary().ListByFirstLetter(*m_listTerms, letter_ids::LetterOfButton(id));
}

void CDataConfigDlg::OnAll() {
    GetGlossary().ListAll(*m_listTerms);
}

void CDataConfigDlg::OnNonLetter() {
    ReadFields();
    GetGlossary().ListNonLetter(*m_listTerms);
    WriteFields();
    FocusTermInput();
}

void CDataConfigDlg::OnOpenDirectory() {
    OpenDirectoryInFileManager(qtext::FromPath(GetDataLocation().dataDir));
    FocusTermInput();
}

void CDataConfigDlg::OnHelp() {
    CInfoDlg help(this);
    help.SetMode(GBK("数据配置"));
    help.DoModal();
    FocusTermInput();
}

void CDataConfigDlg::OnTermListClick() {
    if (m_listTerms->GetCurrentRow() < 0) {
        return;
    }
    ShowTermInFields(TermOfCurrentRow(*m_listTerms));
}

void CDataConfigDlg::OnTermListDoubleClick() {
    FocusTermInput();
}

void CDataConfigDlg::AutoSplitClipboard() {
    const SplitEntry entry = SplitCopiedEntry(GetClipboardText());
    m_strTerm = entry.term;
    m_strMeaning = entry.meaning;
    m_strExplain = entry.explanation;
    FocusField(kTermEdit);
    WriteFields();
}
