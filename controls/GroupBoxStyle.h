#pragma once

#include <QProxyStyle>

// The style of the dialogs' group boxes: an etched frame around a transparent interior, so the
// dialog's background shows through unchanged (the platform styles shade the interior).
class CGroupBoxStyle : public QProxyStyle {
    Q_OBJECT
public:
    // The one shared instance, owned by the application.
    static CGroupBoxStyle* Instance();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    CGroupBoxStyle();
};
