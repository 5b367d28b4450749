// The main of the test programs: the process set up as the program's start-up sets it up,
// then every test.

#include <gtest/gtest.h>

#include "platform/filedescriptor.h"

int main(int argc, char** argv) {
    IgnoreBrokenPipes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
