#pragma once

#include <QColor>
#include <QPushButton>

// The push button of every dialog: flat until the pointer is over it, then a pale grey face, a
// raised frame and blue text; pressed, a sunken frame and the text moved by one pixel; disabled,
// embossed text. No focus rectangle is drawn.
class CSkinButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr QRgb kHoverFace = 0xFFE1E1E1;   // RGB(225, 225, 225)
    static constexpr QRgb kHoverText = 0xFF0000FF;   // RGB(0, 0, 255)
    static constexpr QRgb kNormalText = 0xFF00007D;  // RGB(0, 0, 125)

    explicit CSkinButton(const QString& text, QWidget* parent = nullptr);

    // Shows cursor resource `cursorId` over the button; 0 removes the button's own pointer.
    // Returns 1 when the cursor could not be loaded (the button then has none), else 0.
    int SetPointer(int cursorId, bool repaint);
    bool HasOwnPointer() const { return m_hasPointer; }
    bool IsHovering() const { return m_hovering; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void TrackPointer(const QPoint& pos);
    void StartHover();
    void EndHover();

    bool m_hovering = false;
    bool m_hasPointer = false;
};
