#pragma once

#include <string>

#include "controls/DialogBase.h"
#include "core/TermRecord.h"

// The term popup editor (dialog 104): shows a copy of one record, lets the user change its
// meaning and explanation, and reports whether it was closed by "删除术语", by "更新术语" or
// without an action. Its caller applies the result.
class CTermEditDlg : public CDialogBase {
    Q_OBJECT
public:
    enum Action { kNoAction = -1, kDelete = 0, kUpdate = 1 };

    explicit CTermEditDlg(QWidget* parent = nullptr);
    ~CTermEditDlg() override;

    // Before the run: the record to show.
    void SetRecord(const CTermRecord& record);
    // After the run: which button closed the editor.
    int GetAction() const { return m_nAction; }
    // After the run: the edited meaning and explanation into `record`; its term stays.
    void GetRecord(CTermRecord& record) const;

protected:
    bool OnInitDialog() override;

private:
    void OnDeleteTerm();
    void OnUpdateTerm();

    std::string m_strTerm;
    std::string m_strMeaning;
    std::string m_strExplain;
    int m_nAction = kNoAction;
};
