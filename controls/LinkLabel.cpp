#include "controls/LinkLabel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "controls/LinkLabelAccessible.h"
#include "controls/MessageBox.h"
#include "controls/QtText.h"

namespace {

BrowserLauncher& TestLauncher() {
    static BrowserLauncher launcher;
    return launcher;
}

QAccessibleInterface* MakeLinkInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(CLinkLabel::staticMetaObject.className())) {
        if (auto* label = qobject_cast<CLinkLabel*>(object)) {
            return new CLinkLabelAccessible(label);
        }
    }
    return nullptr;
}

}  // namespace

CLinkLabel::CLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // A screen reader finds a link, not a plain text; the first label installs the factory.
    static const bool accessible = (QAccessible::installFactory(&MakeLinkInterface), true);
    static_cast<void>(accessible);
    setTextFormat(Qt::PlainText);
    m_address = text;
    setToolTip(m_address);
    setCursor(Qt::ArrowCursor);
}

void CLinkLabel::SetLauncherForTesting(BrowserLauncher launcher) {
    TestLauncher() = std::move(launcher);
}

void CLinkLabel::SetAddress(const QString& address) {
    m_address = address;
    if (text().isEmpty()) {
        setText(address);
    }
    AdjustToFit();
    setToolTip(address);
}

void CLinkLabel::SetUnderlined(bool underlined) {
    m_underlined = underlined;
    update();
}

void CLinkLabel::SetOpened(bool opened) {
    m_opened = opened;
    update();
}

void CLinkLabel::SetPointer(const QCursor& pointer) {
    setCursor(pointer);
}

QColor CLinkLabel::CurrentTextColor() const {
    return QColor::fromRgb(m_opened ? kColorOpened : kColorNormal);
}

void CLinkLabel::AdjustToFit() {
    const QFontMetrics metrics(font());
    const int cx = metrics.horizontalAdvance(text());
    const int cy = metrics.height();
    QRect r = geometry();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        r.adjust(0, (r.height() - cy) / 2, 0, -(r.height() - cy) / 2);
    } else {
        r.setHeight(cy);
    }
    if (align & Qt::AlignHCenter) {
        const int shrink = (r.width() - cx) / 2;
        r.adjust(shrink, 0, -shrink, 0);
    } else if (align & Qt::AlignRight) {
        r.setLeft(r.right() - cx + 1);
    } else {
        r.setWidth(cx);
    }
    setGeometry(r);
}

void CLinkLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QFont drawn = font();
    drawn.setUnderline(m_underlined);
    painter.setFont(drawn);
    painter.setPen(CurrentTextColor());
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}

void CLinkLabel::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) {
        Open();
    }
}

void CLinkLabel::Open() {
    const BrowserLauncher& test = TestLauncher();
    const int result = (test.desktopOpen || test.findProgram || test.startDetached)
                           ? OpenAddress(m_address, test)
                           : OpenAddress(m_address, BrowserLauncher::System());
    SetOpened(result > 32);
    if (!m_opened) {
        QApplication::beep();
        ShowMessageBox(HyperlinkErrorMessage(result), window());
    }
}
