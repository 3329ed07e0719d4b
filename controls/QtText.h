#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

// The edge between the program's GBK texts and the toolkit's Unicode strings.
namespace qtext {

QString ToQt(std::string_view gbkText);
// Characters GBK cannot represent become "?".
std::string FromQt(const QString& text);
// UTF-8 literals and tables (dialog captions) to the toolkit.
QString FromUtf8(const std::string& utf8);

// A path in the file system's own form, losslessly.
QString FromPath(const std::filesystem::path& path);

// Multi-line edits show "\n" where the fields hold CR LF.
QString ToQtMultiLine(const std::string& gbkText);
std::string FromQtMultiLine(const QString& text);

}  // namespace qtext
