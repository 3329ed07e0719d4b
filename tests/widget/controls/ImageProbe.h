#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <cstdlib>

// Reading the colours a widget paints from a picture of it.
namespace probe {

inline QImage Grab(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor At(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// Number of pixels inside `area` that have exactly `color`.
inline int Count(const QImage& image, const QColor& color, QRect area = QRect()) {
    if (area.isNull()) {
        area = image.rect();
    }
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (QColor(image.pixel(x, y)) == color) {
                ++count;
            }
        }
    }
    return count;
}

// Bounding box of the pixels inside `area` that have exactly `color`.
inline QRect BoundsOf(const QImage& image, const QColor& color) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) == color) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

}  // namespace probe

namespace probe {

inline bool Near(const QColor& a, const QColor& b, int tolerance = 24) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels close to `color`, and their bounding box.
inline int CountNear(const QImage& image, const QColor& color, int tolerance = 24) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Near(QColor(image.pixel(x, y)), color, tolerance)) {
                ++count;
            }
        }
    }
    return count;
}

inline QRect BoundsNear(const QImage& image, const QColor& color, int tolerance = 24) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Near(QColor(image.pixel(x, y)), color, tolerance)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

}  // namespace probe
