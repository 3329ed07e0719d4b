#include "controls/FramedEdit.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
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
    document()->setDocumentMargin(0);
    setAttribute(Qt::WA_Hover, true);
    PlaceText();
}

void CFramedTextEdit::resizeEvent(QResizeEvent* event) {
    PlaceText();
    QPlainTextEdit::resizeEvent(event);
}

void CFramedTextEdit::PlaceText() {
    // The two-line summary box is barely two lines high: the first line keeps at least a pixel
    // clear of the outline above it, and whatever room is left over goes above and below the
    // lines in equal parts (the last line's lowest pixels are its descent, mostly empty).
    constexpr int kOutline = 1;
    constexpr int kSide = 2;
    const int lineHeight = qMax(1, fontMetrics().lineSpacing());
    const int inside = height() - 2 * kOutline;
    const int lines = qMax(1, inside / lineHeight);
    const int spare = qMax(0, inside - lines * lineHeight);
    const int top = kOutline + qMax(1, spare / 2);
    setViewportMargins(kSide, top, kSide, qMax(0, height() - top - lines * lineHeight));
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
