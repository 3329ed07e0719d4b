#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

// How a web address reaches the browser: the desktop's own open request first, then the
// registered browser commands (xdg-open, x-www-browser, $BROWSER), each started with an argument
// vector and never through a shell. The steps are replaceable for tests.
struct BrowserLauncher {
    std::function<bool(const QString& address)> desktopOpen;
    // The full path of an executable found on PATH, or empty.
    std::function<QString(const QString& program)> findProgram;
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
    std::function<QString(const char* name)> environment;

    static BrowserLauncher System();
};

// Result codes of an open, in the numbering the failure messages use: above 32 is success.
namespace open_code {
constexpr int kSuccess = 33;
constexpr int kFileNotFound = 2;    // no address to open
constexpr int kAccessDenied = 5;    // a browser command exists but could not be started
constexpr int kNoAssociation = 31;  // no browser command at all
}  // namespace open_code

// Opens `address` (UTF-8): the desktop first, then the browser commands in order.
int OpenAddress(const QString& address, const BrowserLauncher& launcher);

// The message shown for a failed open: "Unable to open hyperlink:\n\n" and the text for `code`.
std::string HyperlinkErrorMessage(int code);
