#include "controls/QtText.h"

#include <QFile>

#include "util/GbkText.h"

namespace qtext {

QString ToQt(std::string_view gbkText) {
    return QString::fromStdU16String(gbk::ToUtf16(gbkText));
}

std::string FromQt(const QString& text) {
    return gbk::FromUtf16(text.toStdU16String());
}

QString FromUtf8(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

QString ToQtMultiLine(const std::string& gbkText) {
    QString text = ToQt(gbkText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromQtMultiLine(const QString& text) {
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(crlf);
}

}  // namespace qtext
