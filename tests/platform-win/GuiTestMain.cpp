#include <gtest/gtest.h>
#include <windows.h>

#include <QApplication>
#include <cstdio>
#include <cstring>

// The Windows backends need real windows: the windows platform plugin, not offscreen.
// "--hold-hotkey" instead registers Ctrl+Alt+T for this process, prints "held" and waits to be
// ended: the other program that the hotkey scenario needs.
int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--hold-hotkey") == 0) {
        if (!RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'T')) {
            return 1;
        }
        std::puts("held");
        std::fflush(stdout);
        Sleep(INFINITE);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "windows");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
