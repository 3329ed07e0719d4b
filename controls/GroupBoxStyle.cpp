#include "controls/GroupBoxStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

CGroupBoxStyle::CGroupBoxStyle() : QProxyStyle(QApplication::style()->name()) {
    setParent(qApp);
}

CGroupBoxStyle* CGroupBoxStyle::Instance() {
    static CGroupBoxStyle* style = new CGroupBoxStyle;  // deleted with the application
    return style;
}

void CGroupBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // An etched rectangle: a shadow line with a light line inside and below it.
    const QRect frame = option->rect.adjusted(0, 0, -2, -2);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(option->palette.color(QPalette::Mid));
    painter->drawRect(frame);
    painter->setPen(option->palette.color(QPalette::Light));
    painter->drawRect(frame.translated(1, 1));
    painter->restore();
}
