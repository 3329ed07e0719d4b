#pragma once

#include <QDialog>
#include <QHash>
#include <string>
#include <vector>

#include "resources/DialogTable.h"

class QWidget;

// The base of every window: builds its controls from the dialog table (dialog units turned into
// pixels from the dialog font's metrics), finds controls by id, and moves text between bound
// fields (GBK) and controls only through ReadFields and WriteFields.
class CDialogBase : public QDialog {
    Q_OBJECT
public:
    enum Result { kIdOk = 1, kIdCancel = 2 };

    explicit CDialogBase(int dialogId, QWidget* parent = nullptr);
    ~CDialogBase() override;

    int DialogId() const { return m_dialogId; }

    // The control with this id, or nullptr.
    QWidget* GetControl(int id) const;
    template <typename T>
    T* Control(int id) const {
        return qobject_cast<T*>(GetControl(id));
    }

    // Bindings: a text control to a GBK string field, a check box to an int flag (0/1).
    void BindText(int controlId, std::string* field);
    void BindCheck(int controlId, int* flag);
    void ReadFields();   // controls -> fields
    void WriteFields();  // fields -> controls

    // Runs OnInitDialog once, shows the window and runs a local event loop until EndDialog.
    // Secondary dialogs are modal to their parent window only (Qt::WindowModal); a window may
    // choose Qt::NonModal before DoModal (the main window does, so the tray stays usable).
    int DoModal();
    void EndDialog(int result);

    // Dialog units -> pixels with this dialog's font.
    QRect DluToPixels(int x, int y, int w, int h) const;

protected:
    // Called once after the controls exist and before the window is shown.
    virtual bool OnInitDialog();
    // Enter / Return anywhere in the window; by default OnOK.
    virtual void OnEnterKey();
    // The accept command: by default ReadFields, then EndDialog(kIdOk).
    virtual void OnOK();
    // Esc and the close command: by default EndDialog(kIdCancel).
    virtual void OnCancel();

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // routes to OnCancel
    void accept() override;  // routes to OnOK

private:
    void BuildControls();

    int m_dialogId;
    const res::Dialog& m_table;
    QHash<int, QWidget*> m_controls;
    struct TextBinding {
        int id;
        std::string* field;
    };
    struct CheckBinding {
        int id;
        int* flag;
    };
    std::vector<TextBinding> m_textBindings;
    std::vector<CheckBinding> m_checkBindings;
    bool m_initialised = false;
};
