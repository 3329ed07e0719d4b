// The test runner, which doubles as the second process of the single-instance test:
// "--probe-marker NAME" tries to take the marker and exits with the resulting state.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/SingleInstance.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--probe-marker") == 0) {
        platform::CSingleInstance instance;
        instance.TryAcquire(argv[2]);
        return static_cast<int>(instance.GetState());
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
