#include <gtest/gtest.h>

#include <QCoreApplication>

// The close-request watcher needs an event loop; the other tests do not mind one.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
