// The unit tests run the console on the headless backend, in this process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "console/ovcrt.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("ORALIS_BACKEND", "headless", 1);
    unsetenv("ORALIS_KEYS");
    unsetenv("ORALIS_TRANSCRIPT");
    if (!platform::start()) return 1;
    ovcrt::startUp();
    return RUN_ALL_TESTS();
}
