#include "controls/DialogFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include "controls/QtText.h"

namespace {

// Rounded a * b / c.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

// The installed stand-in for the Song faces, searched once.
QString FallbackFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        const QStringList preferred = {
            QStringLiteral("SimSun"),
            QStringLiteral("NSimSun"),
            QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Noto Sans SC"),
            QStringLiteral("Source Han Sans SC"),
            QStringLiteral("Droid Sans Fallback"),
        };
        for (const QString& name : preferred) {
            if (installed.contains(name, Qt::CaseInsensitive)) {
                return name;
            }
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QString ResolveFamily(const std::string& faceUtf8) {
    const QString face = qtext::FromUtf8(faceUtf8);
    static const QStringList installed = QFontDatabase::families();
    if (installed.contains(face, Qt::CaseInsensitive)) {
        return face;
    }
    if (face == QStringLiteral("宋体") && installed.contains(QStringLiteral("SimSun"))) {
        return QStringLiteral("SimSun");
    }
    if (face == QStringLiteral("新宋体") && installed.contains(QStringLiteral("NSimSun"))) {
        return QStringLiteral("NSimSun");
    }
    return FallbackFamily();
}

}  // namespace

QFont DialogFont(const std::string& faceUtf8, int pointSize) {
    QFont font(ResolveFamily(faceUtf8));
    font.setPointSize(pointSize);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    // Like the classic dialog manager: the average advance of the 52 Latin letters, rounded.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int width = (letters / 26 + 1) / 2;
    return DialogBaseUnits{width > 0 ? width : 1, metrics.height() > 0 ? metrics.height() : 1};
}

QRect DialogBaseUnits::ToPixels(int x, int y, int w, int h) const {
    return QRect(MulDiv(x, charWidth, 4), MulDiv(y, charHeight, 8), MulDiv(w, charWidth, 4),
                 MulDiv(h, charHeight, 8));
}
