// Draws the program's pictures (icon 128 at several sizes, bitmap 130, cursor 140) as PNG files
// into a folder: termix-draw-artwork OUTDIR. The committed images come from this program, so
// they can be changed here and drawn again.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// Icon 128: an open book on a blue tile, a "T" on the left page and "术" on the right.
QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    QLinearGradient tile(0, 0, 0, 256);
    tile.setColorAt(0, QColor(58, 123, 213));
    tile.setColorAt(1, QColor(24, 64, 140));
    p.setPen(QPen(QColor(16, 44, 100), 6));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // The two pages.
    QPainterPath left;
    left.moveTo(128, 78);
    left.cubicTo(100, 62, 66, 60, 36, 68);
    left.lineTo(36, 196);
    left.cubicTo(66, 188, 100, 190, 128, 206);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(128, 78);
    right.cubicTo(156, 62, 190, 60, 220, 68);
    right.lineTo(220, 196);
    right.cubicTo(190, 188, 156, 190, 128, 206);
    right.closeSubpath();
    p.setPen(QPen(QColor(200, 214, 236), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(QColor(150, 170, 205), 4));
    p.drawLine(QPointF(128, 80), QPointF(128, 204));

    // "T" in orange, drawn as two bars so it looks the same with any font.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 120, 24));
    p.drawRoundedRect(QRectF(52, 96, 60, 16), 4, 4);
    p.drawRoundedRect(QRectF(74, 96, 16, 82), 4, 4);

    // "术" as strokes in dark blue.
    p.setPen(QPen(QColor(24, 64, 140), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(146, 118), QPointF(206, 118));  // cross bar
    p.drawLine(QPointF(176, 94), QPointF(176, 182));   // stem
    p.drawLine(QPointF(172, 124), QPointF(146, 168));  // left fall
    p.drawLine(QPointF(180, 124), QPointF(206, 168));  // right fall
    p.drawPoint(QPointF(196, 100));                    // dot
    return image;
}

// Bitmap 130: the banner under the detail fields, 207 x 32 dialog units (drawn at 724 x 112).
QImage DrawBanner() {
    const int w = 724;
    const int h = 112;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient band(0, 0, w, 0);
    band.setColorAt(0, QColor(24, 64, 140));
    band.setColorAt(0.55, QColor(58, 123, 213));
    band.setColorAt(1, QColor(226, 236, 250));
    p.fillRect(image.rect(), band);
    // A faint line of class boxes, the modelling theme.
    p.setPen(QPen(QColor(255, 255, 255, 60), 3));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const QRectF box(430 + i * 68, 26 + (i % 2) * 22, 48, 38);
        p.drawRect(box);
        p.drawLine(box.topLeft() + QPointF(0, 12), box.topRight() + QPointF(0, 12));
        if (i < 3) {
            p.drawLine(QPointF(box.right(), box.center().y()),
                       QPointF(box.right() + 20, box.center().y()));
        }
    }
    QFont title(QStringLiteral("WenQuanYi Micro Hei"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(24, 6, 400, 62), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Termix"));
    QFont sub(QStringLiteral("WenQuanYi Micro Hei"));
    sub.setPixelSize(24);
    p.setFont(sub);
    p.setPen(QColor(255, 214, 150));
    p.drawText(QRect(26, 66, 520, 36), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Vantrel 英汉术语词典  ·  UML"));
    return image;
}

// Cursor 140: a pointing hand, 32 x 32, its finger tip at (9, 1).
QImage DrawCursor() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.moveTo(7, 3);
    hand.cubicTo(7, 0.5, 11, 0.5, 11, 3);  // finger tip
    hand.lineTo(11, 12);
    hand.cubicTo(11, 10, 15, 10, 15, 12);      // middle finger
    hand.cubicTo(15, 10.5, 19, 10.5, 19, 13);  // ring finger
    hand.cubicTo(19, 11.5, 23, 11.5, 23, 14);  // little finger
    hand.lineTo(23, 22);
    hand.cubicTo(23, 26, 21, 28, 19, 30);
    hand.lineTo(10, 30);
    hand.cubicTo(8, 27, 5, 23, 2.5, 19);
    hand.cubicTo(1.5, 17, 3.5, 15, 5.5, 16.5);
    hand.lineTo(7, 18);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(Qt::black, 0.9));
    p.drawLine(QPointF(15, 12.5), QPointF(15, 17));
    p.drawLine(QPointF(19, 13.5), QPointF(19, 17.5));
    return image;
}

bool Save(const QImage& image, const QDir& out, const QString& name) {
    const QString path = out.filePath(name);
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: termix-draw-artwork OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        ok = Save(DrawIcon(size), out, QStringLiteral("icon128-%1.png").arg(size)) && ok;
    }
    ok = Save(DrawBanner(), out, QStringLiteral("bitmap130.png")) && ok;
    ok = Save(DrawCursor(), out, QStringLiteral("cursor140.png")) && ok;
    return ok ? 0 : 1;
}
