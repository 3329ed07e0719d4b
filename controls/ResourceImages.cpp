#include "controls/ResourceImages.h"

#include <QFile>

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

}  // namespace

QIcon LoadIconResource(int id) {
    EnsurePicturesRegistered();
    QIcon icon;
    if (id != res::kIconMain) {
        return icon;
    }
    for (const int size : kIconSizes) {
        const QString path = QStringLiteral(":/termix/icon128-%1.png").arg(size);
        if (QFile::exists(path)) {
            icon.addFile(path, QSize(size, size));
        }
    }
    return icon;
}

QPixmap LoadBitmapResource(int id) {
    EnsurePicturesRegistered();
    if (id != res::kBitmapBanner) {
        return {};
    }
    return QPixmap(QStringLiteral(":/termix/bitmap130.png"));
}

std::optional<QCursor> LoadCursorResource(int id) {
    EnsurePicturesRegistered();
    if (id != res::kCursorHand) {
        return std::nullopt;
    }
    const QPixmap image(QStringLiteral(":/termix/cursor140.png"));
    if (image.isNull()) {
        return std::nullopt;
    }
    return QCursor(image, kCursorHotX, kCursorHotY);
}
