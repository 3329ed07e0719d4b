// The data configuration window's use of the term popup editor.
#include "controls/MessageBox.h"
#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "core/OperationLog.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/RowTerm.h"
#include "ui/dataconfig/TermEditDlg.h"
#include "util/GbkText.h"

void CDataConfigDlg::OpenTermEditor() {
    const int row = m_listTerms->GetCurrentRow();
    if (row < 0) {
        return;
    }
    const std::string term = TermOfCurrentRow(*m_listTerms);
    CTermRecord record;
    // The term list is not refilled after a deletion in the history panel, so a row may name a
    // term that is gone; editing it would store a record under the empty term.
    if (!GetGlossary().Get(term, record)) {
        ShowMessageBox(GBK("这个术语已经不在术语库中，不能删除或更新!\n\n术语: ") + term +
                           GBK("\n\n请按字母、“All”或“?”按钮刷新列表。"),
                       this);
        return;
    }
    CTermEditDlg editor(this);
    editor.SetRecord(record);
    editor.DoModal();
    switch (editor.GetAction()) {
        case CTermEditDlg::kDelete:
            GetOperationLog().Add(record);
            GetGlossary().DeleteAndShow(record, *m_listTerms, row);
            ClearFields();
            UpdateTermCount();
            break;
        case CTermEditDlg::kUpdate:
            // The log keeps the version from before the update.
            GetOperationLog().Add(record);
            editor.GetRecord(record);
            GetGlossary().UpdateAndShow(record, *m_listTerms, row);
            m_strMeaning = record.m_cs_meaning;
            m_strExplain = record.m_cs_explanation;
            UpdateTermCount();
            break;
        default:
            break;
    }
    WriteFields();
}
