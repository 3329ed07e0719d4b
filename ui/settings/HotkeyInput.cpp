#include "ui/settings/HotkeyInput.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLineEdit>

#include "platform/VirtualKeyMap.h"

namespace {

// Keys that move through or close the dialog instead of being taken as the hotkey.
bool IsDialogKey(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            return true;
        default:
            return false;
    }
}

}  // namespace

CHotkeyInput::CHotkeyInput(QKeySequenceEdit* edit)
    : QObject(edit), m_edit(edit), m_text(edit->findChild<QLineEdit*>()) {
    m_edit->installEventFilter(this);
    if (m_text != nullptr) {
        m_text->installEventFilter(this);
    }
    Show();
}

void CHotkeyInput::SetHotKey(unsigned virtualKey, unsigned controlFlags) {
    // A combination needs a key; modifiers alone are no combination.
    m_virtualKey = virtualKey & 0xFFu;
    m_controlFlags = m_virtualKey == 0 ? 0 : (controlFlags & 0x7u);
    Show();
}

QString CHotkeyInput::DisplayText() const {
    return QString::fromStdString(platform::HotkeyDisplayText(m_controlFlags, m_virtualKey));
}

void CHotkeyInput::Show() {
    bool keypad = false;
    const int qtKey = platform::VirtualKeyToQtKey(m_virtualKey, &keypad);
    if (qtKey != 0) {
        int modifiers = platform::ControlFlagsToQtModifiers(m_controlFlags);
        if (keypad) {
            modifiers |= Qt::KeypadModifier;
        }
        m_edit->setKeySequence(QKeySequence(qtKey | modifiers));
    } else {
        m_edit->clear();
    }
    ShowText();
}

void CHotkeyInput::ShowText() {
    if (m_text == nullptr) {
        return;
    }
    // The control shows the combination the way a hotkey control writes it, and an empty
    // control shows nothing (the key sequence edit puts its English prompt back when cleared).
    if (m_text->text() != DisplayText()) {
        m_text->setText(DisplayText());
    }
    if (!m_text->placeholderText().isEmpty()) {
        m_text->setPlaceholderText(QString());
    }
}

bool CHotkeyInput::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        // The key sequence edit rewrites its text in its own format when the focus moves; the
        // control keeps one text, the combination as a hotkey control writes it.
        const bool handled = watched->event(event);
        ShowText();
        return handled;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        return QObject::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsDialogKey(key->key())) {
        if (type == QEvent::KeyPress) {
            // The dialog moves the focus, accepts or cancels.
            QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(m_edit->window(), &copy);
        }
        return type != QEvent::ShortcutOverride;
    }
    if (type == QEvent::ShortcutOverride) {
        // Every other key belongs to the control, also Alt+letter.
        event->accept();
        return true;
    }
    if (type == QEvent::KeyRelease) {
        return true;
    }
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    const unsigned virtualKey =
        platform::QtKeyToVirtualKey(key->key(), (modifiers & Qt::KeypadModifier) != 0);
    const unsigned flags = platform::QtModifiersToControlFlags(static_cast<int>(modifiers));
    if ((key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) && flags == 0) {
        SetHotKey(0, 0);
    } else if (virtualKey != 0 && !platform::IsModifierVirtualKey(virtualKey)) {
        SetHotKey(virtualKey, flags);
    }
    return true;
}
