#pragma once

#include <QObject>

class QKeySequenceEdit;
class QLineEdit;

// Makes a key sequence edit behave as a hotkey input control: it holds one combination as a
// Windows virtual key plus the control's modifier flags (HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2,
// HOTKEYF_ALT 4), takes the next key pressed with its modifiers, clears on Backspace or Delete
// alone, and leaves Tab, Enter and Esc to the dialog.
class CHotkeyInput : public QObject {
    Q_OBJECT
public:
    // Attaches to `edit` (not owned; the object is a child of it).
    explicit CHotkeyInput(QKeySequenceEdit* edit);

    void SetHotKey(unsigned virtualKey, unsigned controlFlags);
    unsigned VirtualKey() const { return m_virtualKey; }
    unsigned ControlFlags() const { return m_controlFlags; }
    // The text the control shows, e.g. "Ctrl + Alt + T" (UTF-8 from the key table).
    QString DisplayText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();
    void ShowText();

    QKeySequenceEdit* m_edit;
    QLineEdit* m_text;
    unsigned m_virtualKey = 0;
    unsigned m_controlFlags = 0;
};
