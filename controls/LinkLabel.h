#pragma once

#include <QColor>
#include <QCursor>
#include <QLabel>
#include <string>

#include "controls/UrlOpener.h"

// A static text that is a web link: link colour, its own pointer, the address as tooltip, and a
// click that opens the address in the browser (beep and message when that fails).
class CLinkLabel : public QLabel {
    Q_OBJECT
    // What a screen reader reads of the link (CLinkLabelAccessible).
    Q_PROPERTY(QString address READ Address)
    Q_PROPERTY(bool opened READ IsOpened)
public:
    static constexpr QRgb kColorNormal = 0xFF0000EE;  // RGB(0, 0, 238)
    static constexpr QRgb kColorOpened = 0xFF551A8B;  // RGB(85, 26, 139)

    // Takes the text as the address when no address is set, and fits itself to the text.
    explicit CLinkLabel(const QString& text, QWidget* parent = nullptr);

    void SetAddress(const QString& address);  // also the tooltip; fits to the text
    QString Address() const { return m_address; }
    void SetUnderlined(bool underlined);
    bool IsUnderlined() const { return m_underlined; }
    void SetOpened(bool opened);
    bool IsOpened() const { return m_opened; }
    void SetPointer(const QCursor& pointer);
    // Sizes the label to its text, keeping its alignment (left, centre or right) in place.
    void AdjustToFit();
    QColor CurrentTextColor() const;

    // What a click does: open, then mark opened or beep and report the failure.
    Q_INVOKABLE void Open();

    // Tests replace the way the browser is reached; a default-constructed launcher restores it.
    static void SetLauncherForTesting(BrowserLauncher launcher);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_address;
    bool m_opened = false;
    bool m_underlined = true;
    bool m_pressed = false;
};
