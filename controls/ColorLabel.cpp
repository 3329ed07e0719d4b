#include "controls/ColorLabel.h"

#include <QFontDatabase>
#include <QPainter>

CColorLabel::CColorLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent),
      m_colorText(palette().color(QPalette::Active, QPalette::WindowText)),
      m_colorBack(palette().color(QPalette::Active, QPalette::Button)),
      m_font(QFontDatabase::systemFont(QFontDatabase::GeneralFont)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CColorLabel::SetLabelColor(const QColor& color) {
    m_colorText = color;
    RedrawNow();
}

void CColorLabel::SetBold(bool bold) {
    m_font.setWeight(bold ? QFont::Bold : QFont::Normal);
    RedrawNow();
}

void CColorLabel::SetFontHeight(int pixels) {
    m_font.setPixelSize(pixels);
    RedrawNow();
}

void CColorLabel::SetBackColor(const QColor& color) {
    m_colorBack = color;
}

void CColorLabel::RedrawNow() {
    repaint();
}

void CColorLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), m_colorBack);
    painter.setFont(m_font);
    painter.setPen(m_colorText);
    painter.drawText(contentsRect(), static_cast<int>(alignment()) | Qt::TextWordWrap, text());
}
