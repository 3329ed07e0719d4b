#pragma once

#include <optional>
#include <string>

#include "controls/DialogBase.h"

class CColorLabel;
class CLinkLabel;
class CSortListCtrl;
class QCloseEvent;

// The data configuration window (dialog 103): the term editing panel, where terms are added,
// looked at and picked for the popup editor, and the operation history panel, where logged
// versions are put back. It changes the glossary and the operation log and saves the glossary
// when the user leaves it. Run it with DoModal(); afterwards the caller refreshes whatever it
// shows of the glossary.
class CDataConfigDlg : public CDialogBase {
    Q_OBJECT
public:
    explicit CDataConfigDlg(QWidget* parent = nullptr);
    ~CDataConfigDlg() override;

    // Runs the window until the user leaves it. A glossary that cannot be read is reported and
    // the window does not open, so no save can replace the file with an empty glossary.
    int DoModal();

    // Gives the term field the focus with all of its text selected.
    void FocusTermInput();
    // Sets the count line from the glossary's number of terms (shown by the next WriteFields).
    void UpdateTermCount();
    // Shows the glossary's record for `term` in the three fields, or empties them.
    void ShowTermInFields(const std::string& term);

    // Shows the operation history panel (true) or the data configuration panel (false).
    void SwitchPanel(bool showHistory);
    // Enables, disables, shows and hides the controls for one panel.
    void EnablePanel(bool dataConfig);

    // Fills the three fields from the copied glossary entry on the clipboard.
    void AutoSplitClipboard();
    // Opens the term popup editor on the term list's current row and applies its result.
    void OpenTermEditor();

protected:
    bool OnInitDialog() override;
    // The window has no accept command: Enter never closes it.
    void OnEnterKey() override;
    // "到主界面" and Esc: save the glossary, then close.
    void OnCancel() override;
    // A close request saves too; the window stays while "到主界面" is disabled.
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectCommands();
    void StylePanelLabel();
    void SetUpHomeLink();
    // Saves the glossary; on failure tells the user and returns false, keeping every change.
    bool SaveGlossary();
    void ClearFields();
    void FocusField(int id);
    void ShowAndEnable(int id, bool visible, bool enabled);

    // Data configuration panel.
    void OnAdd();
    void OnClearInput();
    void OnLetter(int id);
    void OnAll();
    void OnNonLetter();
    void OnOpenDirectory();
    void OnHelp();
    void OnTermListClick();
    void OnTermListDoubleClick();

    // Operation history panel.
    void OnPanelSwitch();
    void OnHistoryListClick();
    void OnPutBack();
    void OnSwap();
    void OnHistoryDelete();
    // The term of the history list's current row; nothing without a current row.
    std::optional<std::string> HistoryRowTerm() const;
    void EndHistoryCommand();

    std::string m_strTerm;
    std::string m_strMeaning;
    std::string m_strExplain;
    std::string m_strTitle;
    std::string m_strPanelLabel;
    std::string m_strCount;
    bool m_historyShown = false;  // the operation history panel shows, not the term panel

    CSortListCtrl* m_listTerms = nullptr;
    CSortListCtrl* m_listHistory = nullptr;
    CColorLabel* m_labelPanel = nullptr;
    CLinkLabel* m_linkHome = nullptr;
};
