#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

// A single-line edit that paints its own border: a flat sunken border normally, a plain black
// outline while the pointer rests on it.
class CFramedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CFramedEdit(QWidget* parent = nullptr);

    bool IsHovering() const { return m_hovering; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hovering = false;
};

// The same border for a multi-line edit (the main window's two-line search summary).
class CFramedTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CFramedTextEdit(QWidget* parent = nullptr);

    bool IsHovering() const { return m_hovering; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Centres the lines that fit vertically inside the outline, so the first line keeps clear of
    // the top border.
    void PlaceText();

    bool m_hovering = false;
};
