#pragma once

#include <QFont>
#include <QRect>
#include <string>

// The font a dialog table names ("宋体", "新宋体") at its point size. Where that face is not
// installed an installed CJK face stands in; the choice is made once per process.
QFont DialogFont(const std::string& faceUtf8, int pointSize);

// The dialog base units of a font: the average width of the Latin letters and the line height.
struct DialogBaseUnits {
    int charWidth;
    int charHeight;

    // Dialog units -> pixels: x·charWidth/4 and y·charHeight/8, rounded as the dialog manager
    // rounds them.
    QRect ToPixels(int x, int y, int w, int h) const;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);
