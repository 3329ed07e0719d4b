#include "controls/ResourceImages.h"

#include <QImage>
#include <QPixmapCache>
#include <iterator>

#include "controls/PackedPictures.h"
#include "resources/ResourceIds.h"

namespace {

// Icon 128 comes in several drawn sizes so it stays sharp wherever the program shows it: title
// bar, task bar, tray, dialogs. Nothing there is larger than 64 pixels, and a window's icon
// hands every size to the desktop at start-up, so the larger drawings (for the installed icon
// theme) are not loaded here.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64};

// The hot spot of cursor 140 (the tip of the pointing finger) in its 32 x 32 image.
constexpr int kCursorHotX = 9;
constexpr int kCursorHotY = 1;

// The compiled-in pixels themselves, not copied; a null image when there is no such picture.
QImage PackedImage(const std::string& name) {
    for (size_t i = 0; i < kPackedPictureCount; ++i) {
        const PackedPicture& packed = kPackedPictures[i];
        if (packed.name == name) {
            return QImage(reinterpret_cast<const uchar*>(packed.pixels), packed.width,
                          packed.height, packed.width * 4, QImage::Format_ARGB32_Premultiplied);
        }
    }
    return {};
}

// A picture of the program's own by name, from the pixels compiled in: nothing to decode, and
// no image reader, whose first use looks through the system's image plug-ins. Each picture is
// made once: the copies share it, so the hand cursor of thirty buttons is one cursor on the
// display, not thirty.
QPixmap PackedPixmap(const QString& name) {
    QPixmap picture;
    if (QPixmapCache::find(name, &picture)) {
        return picture;
    }
    if (const QImage image = PackedImage(name.toStdString()); !image.isNull()) {
        picture = QPixmap::fromImage(image);
        QPixmapCache::insert(name, picture);
    }
    return picture;
}

}  // namespace

QIcon LoadIconResource(int id) {
    QIcon icon;
    if (id != res::kIconMain) {
        return icon;
    }
    for (const int size : kIconSizes) {
        if (const QPixmap picture = PackedPixmap(QStringLiteral("icon128-%1").arg(size));
            !picture.isNull()) {
            icon.addPixmap(picture);
        }
    }
    return icon;
}

QPixmap LoadIconPixmap(int id, int side) {
    if (id != res::kIconMain) {
        return {};
    }
    // The smallest drawing at least as large, scaled down; the largest when none is.
    int drawn = kIconSizes[std::size(kIconSizes) - 1];
    for (const int size : kIconSizes) {
        if (size >= side) {
            drawn = size;
            break;
        }
    }
    const QPixmap picture = PackedPixmap(QStringLiteral("icon128-%1").arg(drawn));
    return drawn == side || picture.isNull()
               ? picture
               : picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QPixmap LoadBitmapResource(int id, QSize size) {
    if (id != res::kBitmapBanner) {
        return {};
    }
    const QImage image = PackedImage("bitmap130");
    if (!size.isValid() || size == image.size()) {
        return PackedPixmap(QStringLiteral("bitmap130"));
    }
    // Scaled straight from the compiled-in pixels: the full-size picture is never copied.
    return QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

std::optional<QCursor> LoadCursorResource(int id) {
    if (id != res::kCursorHand) {
        return std::nullopt;
    }
    // Made once and kept to the end of the process (never destroyed, so never after the
    // application): a cursor made from a picture works out its mask each time it is made, and
    // a window sets it on some thirty buttons.
    static const QCursor* const hand = [] {
        const QPixmap image = PackedPixmap(QStringLiteral("cursor140"));
        return image.isNull() ? nullptr : new QCursor(image, kCursorHotX, kCursorHotY);
    }();
    if (hand == nullptr) {
        return std::nullopt;
    }
    return *hand;
}
