#include "controls/SkinButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ResourceImages.h"

namespace {

// A one-pixel frame: top and left in one colour, bottom and right in the other.
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft,
                const QColor& bottomRight) {
    const QRect& r = rect;  // right() and bottom() are the last pixel column and row
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

CSkinButton::CSkinButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    // Clicking gives the button the focus, as the dialog manager does.
    connect(this, &QPushButton::clicked, this, [this] {
        if (focusPolicy() != Qt::NoFocus) {
            setFocus(Qt::MouseFocusReason);
        }
    });
}

int CSkinButton::SetPointer(int cursorId, bool repaint) {
    unsetCursor();
    m_hasPointer = false;
    if (cursorId == 0) {
        return 0;
    }
    const std::optional<QCursor> pointer = LoadCursorResource(cursorId);
    if (!pointer) {
        return 1;
    }
    setCursor(*pointer);
    m_hasPointer = true;
    if (repaint) {
        update();
    }
    return 0;
}

void CSkinButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect item = rect();
    const bool pressed = isDown();
    const bool focused = hasFocus();
    const bool disabled = !isEnabled();
    const QPalette& colors = palette();
    const QColor buttonFace = colors.color(QPalette::Active, QPalette::Button);
    const QColor shadow = colors.color(QPalette::Active, QPalette::Dark);
    const QColor highlight = colors.color(QPalette::Active, QPalette::Light);

    QColor face = buttonFace;  // normal and focused faces are both the button face
    if (m_hovering || pressed) {
        face = QColor::fromRgb(kHoverFace);
    } else if (focused) {
        face = buttonFace;
    }
    painter.fillRect(item, face);

    if (pressed) {
        Draw3dRect(painter, item, shadow, highlight);
    } else if (m_hovering) {
        Draw3dRect(painter, item, highlight, shadow);
    }

    const QString label = text();
    if (label.isEmpty()) {
        return;
    }
    QRect textArea = item;
    if (pressed) {
        textArea.translate(1, 1);
    }
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    painter.setFont(font());
    if (disabled) {
        painter.setPen(highlight);
        painter.drawText(textArea.translated(1, 1), flags, label);
        painter.setPen(shadow);
        painter.drawText(textArea, flags, label);
        return;
    }
    painter.setPen(QColor::fromRgb(m_hovering || pressed ? kHoverText : kNormalText));
    painter.drawText(textArea, flags, label);
}

void CSkinButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    TrackPointer(event->position().toPoint());
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    TrackPointer(event->position().toPoint());
}

void CSkinButton::TrackPointer(const QPoint& pos) {
    // A pointer dragged onto the button with the left button held does not light it up.
    if ((QApplication::mouseButtons() & Qt::LeftButton) && !m_hovering) {
        return;
    }
    if (rect().contains(pos) && isEnabled()) {
        StartHover();
    } else {
        EndHover();
    }
}

void CSkinButton::StartHover() {
    if (!m_hovering) {
        m_hovering = true;
        update();
    }
}

void CSkinButton::EndHover() {
    if (m_hovering) {
        m_hovering = false;
        update();
    }
}

void CSkinButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    EndHover();
}

void CSkinButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    EndHover();
}

void CSkinButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        EndHover();
    } else if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        // The toolkit has handed the focus on to the next tab stop; with none left the dialog
        // itself keeps it.
        QWidget* dialog = window();
        if (dialog->focusWidget() == nullptr || dialog->focusWidget() == this) {
            dialog->setFocus(Qt::OtherFocusReason);
        }
        EndHover();
    }
}

bool CSkinButton::event(QEvent* event) {
    const bool handled = QPushButton::event(event);
    // The window went to the background: the pointer no longer counts as over the button.
    if (event->type() == QEvent::WindowDeactivate) {
        EndHover();
    }
    return handled;
}
