#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

// A static text with its own text colour, background colour and font.
class CColorLabel : public QLabel {
    Q_OBJECT
public:
    explicit CColorLabel(const QString& text, QWidget* parent = nullptr);

    void SetLabelColor(const QColor& color);  // redraws at once
    void SetBold(bool bold);                  // weight 700 / 400, redraws at once
    void SetFontHeight(int pixels);           // character height in pixels, redraws at once
    void SetBackColor(const QColor& color);   // shown at the next repaint

    QColor LabelColor() const { return m_colorText; }
    const QFont& LabelFont() const { return m_font; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void RedrawNow();

    QColor m_colorText;
    QColor m_colorBack;
    QFont m_font;
};
