// The pictures compiled into the program are the committed PNG files, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>

#include "controls/ResourceImages.h"
#include "resources/ResourceIds.h"

namespace {

QImage Committed(const char* name) {
    return QImage(QStringLiteral(TERMIX_IMAGES_DIR "/%1.png").arg(QLatin1String(name)), "png")
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Shown(const QPixmap& picture) {
    return picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(PicturesTest, AreTheCommittedImages) {
    EXPECT_EQ(Shown(LoadBitmapResource(res::kBitmapBanner)), Committed("bitmap130"));
    for (const int side : {16, 24, 32, 48, 64}) {
        const QImage committed = Committed(("icon128-" + std::to_string(side)).c_str());
        ASSERT_FALSE(committed.isNull());
        EXPECT_EQ(Shown(LoadIconPixmap(res::kIconMain, side)), committed) << side;
        EXPECT_EQ(Shown(LoadIconResource(res::kIconMain).pixmap(side)), committed) << side;
    }
    const std::optional<QCursor> hand = LoadCursorResource(res::kCursorHand);
    ASSERT_TRUE(hand.has_value());
    EXPECT_EQ(Shown(hand->pixmap()), Committed("cursor140"));
    EXPECT_TRUE(LoadBitmapResource(res::kBitmapBanner + 1).isNull());
}

TEST(PicturesTest, TheBannerIsStretchedSmoothlyToTheSizeAskedFor) {
    const QSize size(310, 52);
    EXPECT_EQ(Shown(LoadBitmapResource(res::kBitmapBanner, size)),
              Committed("bitmap130").scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace
