#include "controls/UrlOpener.h"

#include "logging/LogCategories.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <map>

BrowserLauncher BrowserLauncher::System() {
    BrowserLauncher launcher;
    launcher.desktopOpen = [](const QString& address) {
        return QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
    };
    launcher.findProgram = [](const QString& program) -> QString {
        if (program.contains(QLatin1Char('/'))) {
            const QFileInfo file(program);
            return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
        }
        return QStandardPaths::findExecutable(program);
    };
    launcher.startDetached = [](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    };
    launcher.environment = [](const char* name) { return qEnvironmentVariable(name); };
    return launcher;
}

namespace {

// The browser commands to try after the desktop: each is a program with its fixed arguments.
// $BROWSER holds one or more commands separated by ":"; "%s" in a command stands for the address.
std::vector<QStringList> BrowserCommands(const BrowserLauncher& launcher) {
    std::vector<QStringList> commands = {{QStringLiteral("xdg-open")},
                                         {QStringLiteral("x-www-browser")}};
    const QString browser = launcher.environment ? launcher.environment("BROWSER") : QString();
    for (const QString& entry : browser.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        QStringList argv = entry.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!argv.isEmpty()) {
            commands.push_back(argv);
        }
    }
    return commands;
}

}  // namespace

int OpenAddress(const QString& address, const BrowserLauncher& launcher) {
    if (address.trimmed().isEmpty()) {
        return open_code::kFileNotFound;
    }
    if (launcher.desktopOpen && launcher.desktopOpen(address)) {
        return open_code::kSuccess;
    }
    bool anyBrowser = false;
    for (QStringList argv : BrowserCommands(launcher)) {
        const QString program =
            launcher.findProgram ? launcher.findProgram(argv.front()) : QString();
        if (program.isEmpty()) {
            continue;
        }
        anyBrowser = true;
        argv.removeFirst();
        bool placed = false;
        for (QString& argument : argv) {
            if (argument.contains(QStringLiteral("%s"))) {
                argument.replace(QStringLiteral("%s"), address);
                placed = true;
            }
        }
        if (!placed) {
            argv.append(address);
        }
        if (launcher.startDetached && launcher.startDetached(program, argv)) {
            return open_code::kSuccess;
        }
    }
    qCWarning(lcUi) << "cannot open" << address
                    << (anyBrowser ? "- every browser found failed to start"
                                   : "- no browser found");
    return anyBrowser ? open_code::kAccessDenied : open_code::kNoAssociation;
}

std::string HyperlinkErrorMessage(int code) {
    static const std::map<int, std::string> messages = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
         "processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
    };
    const auto it = messages.find(code);
    const std::string message = it != messages.end()
                                    ? it->second
                                    : "Unknown Error (" + std::to_string(code) + ") occurred.";
    return "Unable to open hyperlink:\n\n" + message;
}
