#include "controls/FramedEdit.h"

#include <QEvent>
#include <QPainter>
#include <QTextDocument>

namespace {

// The two border forms: a flat sunken edge (shadow outside, face inside) or, while the pointer
// rests on the field, a black outline with the field's own colour inside.
void PaintBorder(QWidget* widget, bool hovering) {
    QPainter painter(widget);
    const QRect outer = widget->rect().adjusted(0, 0, -1, -1);
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const QPalette& colors = widget->palette();
    painter.setBrush(Qt::NoBrush);
    if (hovering) {
        painter.setPen(Qt::black);
        painter.drawRect(outer);
        painter.setPen(colors.color(QPalette::Base));
        painter.drawRect(inner);
    } else {
        painter.setPen(colors.color(QPalette::Active, QPalette::Dark));
        painter.drawRect(outer);
        painter.setPen(colors.color(QPalette::Active, QPalette::Button));
        painter.drawRect(inner);
    }
}

}  // namespace

CFramedEdit::CFramedEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setTextMargins(3, 1, 2, 1);
    setAttribute(Qt::WA_Hover, true);
}

void CFramedEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    PaintBorder(this, m_hovering);
}

void CFramedEdit::enterEvent(QEnterEvent* event) {
    QLineEdit::enterEvent(event);
    m_hovering = true;
    update();
}

void CFramedEdit::leaveEvent(QEvent* event) {
    QLineEdit::leaveEvent(event);
    m_hovering = false;
    update();
}

CFramedTextEdit::CFramedTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    // Text right inside the one-pixel outline, as in a single-line edit: the two-line summary
    // box is only two lines high.
    setViewportMargins(1, 1, 1, 1);
    document()->setDocumentMargin(1);
    setAttribute(Qt::WA_Hover, true);
}

bool CFramedTextEdit::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter:
            m_hovering = true;
            update();
            break;
        case QEvent::Leave:
            m_hovering = false;
            update();
            break;
        default:
            break;
    }
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::Paint) {
        PaintBorder(this, m_hovering);
    }
    return handled;
}
