#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <optional>

// The program's pictures by resource id: icon 128, bitmap 130, cursor 140.
QIcon LoadIconResource(int id);
// The icon at `side` pixels, read from the one drawn size that suits it best.
QPixmap LoadIconPixmap(int id, int side);
// The bitmap, stretched smoothly to `size` when one is given; an empty pixmap when there is no
// such bitmap.
QPixmap LoadBitmapResource(int id, QSize size = {});
// Nothing when there is no such cursor.
std::optional<QCursor> LoadCursorResource(int id);
