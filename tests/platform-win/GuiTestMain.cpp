#include <gtest/gtest.h>

#include <QApplication>

// The Windows backends need real windows: the windows platform plugin, not offscreen.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "windows");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
