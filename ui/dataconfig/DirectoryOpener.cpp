#include "ui/dataconfig/DirectoryOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "logging/LogCategories.h"

namespace {
std::function<void(const QString&)> g_testOpener;
}  // namespace

void OpenDirectoryInFileManager(const QString& directory) {
    if (g_testOpener) {
        g_testOpener(directory);
        return;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(directory))) {
        return;
    }
    // Started with an argument vector, never through a shell, so no character of the path is
    // interpreted.
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{directory})) {
        qCWarning(lcUi) << "cannot open the folder" << directory << "in a file manager";
    }
}

void SetDirectoryOpenerForTesting(std::function<void(const QString& directory)> opener) {
    g_testOpener = std::move(opener);
}
