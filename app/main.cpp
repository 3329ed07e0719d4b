#include <QApplication>

#include "app/TermixApp.h"
#include "platform/DisplayServer.h"

int main(int argc, char* argv[]) {
    // Before the QApplication exists: the hotkey and the window lookup need X11.
    platform::PreferX11OnWayland();
    QApplication application(argc, argv);
    CTermixApp theApp;
    return theApp.Run();
}
