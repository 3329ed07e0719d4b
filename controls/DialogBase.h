#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QHash>
#include <string>
#include <vector>

#include "controls/DialogFont.h"
#include "resources/DialogTable.h"

class QEventLoop;
class QWidget;

// The base of every window: builds its controls from the dialog table (BuildDialogControls), finds
// them by id, runs the window (DoModal, EndDialog) and moves text between bound fields (GBK) and
// controls only through ReadFields and WriteFields. Push buttons 1 and 2 are wired to OnOK and
// OnCancel, as the dialog manager does; other commands are connected by each window.
class CDialogBase : public QDialog {
    Q_OBJECT
public:
    enum Result { kIdOk = 1, kIdCancel = 2 };

    explicit CDialogBase(int dialogId, QWidget* parent = nullptr);
    ~CDialogBase() override;

    // The control with this id, or nullptr.
    QWidget* GetControl(int id) const;
    template <typename T>
    T* Control(int id) const {
        return qobject_cast<T*>(GetControl(id));
    }

    // The text a control shows, as GBK (multi-line edits give CR LF line breaks), and setting it.
    std::string GetControlText(int id) const;
    void SetControlText(int id, const std::string& gbkText);

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
    // True between the start of DoModal and EndDialog.
    bool IsRunning() const { return m_loop != nullptr; }

    // Dialog units -> pixels with this dialog's font.
    QRect DluToPixels(int x, int y, int w, int h) const;

protected:
    // Called once after the controls exist and before the window is shown. Returning true gives
    // the keyboard focus to the first tab-stop control.
    virtual bool OnInitDialog();
    // Enter / Return anywhere in the window: a focused push button is clicked, otherwise OnOK.
    virtual void OnEnterKey();
    // The accept command: by default ReadFields, then EndDialog(kIdOk).
    virtual void OnOK();
    // Esc and the close command: by default EndDialog(kIdCancel).
    virtual void OnCancel();

    // Connects the clicks of button `id`, when the table has it, to a handler of the window.
    template <typename Window>
    void ConnectButton(int id, void (Window::*handler)()) {
        if (auto* button = Control<QAbstractButton>(id)) {
            connect(button, &QAbstractButton::clicked, static_cast<Window*>(this), handler);
        }
    }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override;  // routes to OnCancel
    void accept() override;  // routes to OnOK

private:
    void ApplyWindowStyle();
    void FocusFirstTabStop();

    const res::Dialog& m_table;
    DialogBaseUnits m_units{1, 1};
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
    QEventLoop* m_loop = nullptr;
    int m_result = kIdCancel;
    bool m_starting = false;       // inside DoModal, before its loop runs
    bool m_endedStarting = false;  // EndDialog came while starting: DoModal returns at once
};
