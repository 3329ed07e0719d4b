#include "controls/DialogBase.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "controls/DialogControls.h"
#include "controls/QtText.h"

CDialogBase::CDialogBase(int dialogId, QWidget* parent)
    : QDialog(parent), m_table(res::GetDialogTable(dialogId)) {
    setFont(DialogFont(m_table.font, m_table.pointSize));
    m_units = BaseUnitsOf(font());
    setWindowTitle(qtext::FromUtf8(m_table.title));
    setWindowModality(Qt::WindowModal);
    ApplyWindowStyle();
    m_controls = BuildDialogControls(m_table, m_units, this);
    // Push buttons 1 and 2 are the accept and cancel commands, as the dialog manager wires them.
    ConnectButton(kIdOk, &CDialogBase::OnOK);
    ConnectButton(kIdCancel, &CDialogBase::OnCancel);
}

CDialogBase::~CDialogBase() {
    if (m_loop != nullptr) {
        m_loop->exit(kIdCancel);
    }
}

void CDialogBase::ApplyWindowStyle() {
    const unsigned style = m_table.style;
    Qt::WindowFlags flags = parentWidget() != nullptr ? Qt::Dialog : Qt::Window;
    if (!res::HasStyle(style, res::kCaption)) {
        // A pop-up with a modal frame and no caption bar: the frame is painted by paintEvent.
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (res::HasStyle(style, res::kSysMenu)) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        }
        if (res::HasStyle(style, res::kMinimizeBox)) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (res::HasStyle(style, res::kMaximizeBox)) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    setWindowFlags(flags);
    const QSize client = DluToPixels(0, 0, m_table.w, m_table.h).size();
    if (res::HasStyle(style, res::kResizable)) {
        resize(client);
        setSizeGripEnabled(false);
    } else {
        setFixedSize(client);
    }
}

QRect CDialogBase::DluToPixels(int x, int y, int w, int h) const {
    return m_units.ToPixels(x, y, w, h);
}

QWidget* CDialogBase::GetControl(int id) const {
    return m_controls.value(id, nullptr);
}

std::string CDialogBase::GetControlText(int id) const {
    QWidget* widget = GetControl(id);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        return qtext::FromQt(line->text());
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
        return qtext::FromQtMultiLine(text->toPlainText());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return qtext::FromQt(label->text());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return qtext::FromQt(button->text());
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return qtext::FromQt(group->title());
    }
    return {};
}

void CDialogBase::SetControlText(int id, const std::string& gbkText) {
    QWidget* widget = GetControl(id);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(qtext::ToQt(gbkText));
        line->setCursorPosition(0);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
        text->setPlainText(qtext::ToQtMultiLine(gbkText));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(qtext::ToQt(gbkText));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(qtext::ToQt(gbkText));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(qtext::ToQt(gbkText));
    }
}

void CDialogBase::BindText(int controlId, std::string* field) {
    m_textBindings.push_back(TextBinding{controlId, field});
}

void CDialogBase::BindCheck(int controlId, int* flag) {
    m_checkBindings.push_back(CheckBinding{controlId, flag});
}

void CDialogBase::ReadFields() {
    for (const TextBinding& binding : m_textBindings) {
        if (GetControl(binding.id) != nullptr) {
            *binding.field = GetControlText(binding.id);
        }
    }
    for (const CheckBinding& binding : m_checkBindings) {
        if (auto* box = Control<QAbstractButton>(binding.id)) {
            *binding.flag = box->isChecked() ? 1 : 0;
        }
    }
}

void CDialogBase::WriteFields() {
    for (const TextBinding& binding : m_textBindings) {
        // An unchanged text is left alone, so the caret and selection stay where they are.
        if (GetControl(binding.id) != nullptr && GetControlText(binding.id) != *binding.field) {
            SetControlText(binding.id, *binding.field);
        }
    }
    for (const CheckBinding& binding : m_checkBindings) {
        if (auto* box = Control<QAbstractButton>(binding.id)) {
            box->setChecked(*binding.flag != 0);
        }
    }
}

int CDialogBase::DoModal() {
    if (m_loop != nullptr) {
        return kIdCancel;  // already running
    }
    m_result = kIdCancel;
    // EndDialog during the start-up steps (a close request answered while a start-up message
    // was open, say) ends the run before its loop starts instead of being lost.
    m_starting = true;
    m_endedStarting = false;
    if (!m_initialised) {
        m_initialised = true;
        if (OnInitDialog()) {
            FocusFirstTabStop();
        }
    }
    m_starting = false;
    if (m_endedStarting) {
        return m_result;
    }
    QEventLoop loop;
    m_loop = &loop;
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
        activateWindow();
    }
    const int result = loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
    hide();
    return result;
}

void CDialogBase::EndDialog(int result) {
    m_result = result;
    if (m_loop != nullptr) {
        m_loop->exit(result);
        m_loop = nullptr;  // the run has ended, although the loop returns only later
    } else if (m_starting) {
        m_endedStarting = true;
    }
}

void CDialogBase::FocusFirstTabStop() {
    for (const res::Control& control : m_table.controls) {
        QWidget* widget = GetControl(control.id);
        if (widget != nullptr && res::HasStyle(control.style, res::kTabStop) &&
            widget->isEnabled() && !widget->isHidden()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool CDialogBase::OnInitDialog() {
    WriteFields();
    return true;
}

void CDialogBase::OnEnterKey() {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        if (button->isEnabled()) {
            button->click();
            return;
        }
    }
    OnOK();
}

void CDialogBase::OnOK() {
    ReadFields();
    EndDialog(kIdOk);
}

void CDialogBase::OnCancel() {
    EndDialog(kIdCancel);
}

void CDialogBase::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                event->accept();
                OnEnterKey();
                return;
            case Qt::Key_Escape:
                event->accept();
                OnCancel();
                return;
            default:
                break;
        }
    }
    QWidget::keyPressEvent(event);
}

void CDialogBase::closeEvent(QCloseEvent* event) {
    // The window ends only through EndDialog; the close command is the cancel command.
    event->ignore();
    if (m_loop != nullptr) {
        OnCancel();
    }
}

void CDialogBase::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (res::HasStyle(m_table.style, res::kCaption)) {
        return;
    }
    // The modal frame of a window without caption bar: a raised double edge.
    QPainter painter(this);
    const QRect outer = rect();  // lines end on right() and bottom(), the last pixels
    const QPalette& colors = palette();
    painter.setPen(colors.color(QPalette::Light));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(colors.color(QPalette::Shadow));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.setPen(colors.color(QPalette::Midlight));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(colors.color(QPalette::Dark));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
}

void CDialogBase::reject() {
    OnCancel();
}

void CDialogBase::accept() {
    OnOK();
}
