#include "controls/ResourceImages.h"

#include <QImageReader>
#include <QPixmapCache>
#include <iterator>

#include "resources/ResourceIds.h"

// The pictures are compiled into this static library; registering them here keeps the linker
// from dropping them.
static void EnsurePicturesRegistered() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(termix);
        return true;
    }();
    (void)registered;
}

namespace {

// Icon 128 comes in several drawn sizes so it stays sharp wherever the program shows it: title
// bar, task bar, tray, dialogs. Nothing there is larger than 64 pixels, and a window's icon
// hands every size to the desktop at start-up, so the larger drawings (for the installed icon
// theme) are not loaded here.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64};

// The hot spot of cursor 140 (the tip of the pointing finger) in its 32 x 32 image.
constexpr int kCursorHotX = 9;
constexpr int kCursorHotY = 1;

// A picture of the program's own, read as the PNG it is: a reader left to guess the format
// loads and asks every image plug-in of the system first, which costs the start milliseconds.
// Each picture is read once: the copies share it, so the hand cursor of thirty buttons is one
// cursor on the display, not thirty.
QPixmap ReadPng(const QString& path) {
    QPixmap picture;
    if (QPixmapCache::find(path, &picture)) {
        return picture;
    }
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    picture = QPixmap::fromImage(reader.read());
    QPixmapCache::insert(path, picture);
    return picture;
}

}  // namespace

QIcon LoadIconResource(int id) {
    EnsurePicturesRegistered();
    QIcon icon;
    if (id != res::kIconMain) {
        return icon;
    }
    for (const int size : kIconSizes) {
        const QString path = QStringLiteral(":/termix/icon128-%1.png").arg(size);
        if (const QPixmap picture = ReadPng(path); !picture.isNull()) {
            icon.addPixmap(picture);
        }
    }
    return icon;
}

QPixmap LoadIconPixmap(int id, int side) {
    EnsurePicturesRegistered();
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
    const QPixmap picture = ReadPng(QStringLiteral(":/termix/icon128-%1.png").arg(drawn));
    return drawn == side || picture.isNull()
               ? picture
               : picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QPixmap LoadBitmapResource(int id) {
    EnsurePicturesRegistered();
    if (id != res::kBitmapBanner) {
        return {};
    }
    return ReadPng(QStringLiteral(":/termix/bitmap130.png"));
}

std::optional<QCursor> LoadCursorResource(int id) {
    EnsurePicturesRegistered();
    if (id != res::kCursorHand) {
        return std::nullopt;
    }
    // Made once and kept to the end of the process (never destroyed, so never after the
    // application): a cursor made from a picture works out its mask each time it is made, and
    // a window sets it on some thirty buttons.
    static const QCursor* const hand = [] {
        const QPixmap image = ReadPng(QStringLiteral(":/termix/cursor140.png"));
        return image.isNull() ? nullptr : new QCursor(image, kCursorHotX, kCursorHotY);
    }();
    if (hand == nullptr) {
        return std::nullopt;
    }
    return *hand;
}
