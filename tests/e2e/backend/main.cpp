// The backend tests run as the program of one Windows program entry.
#include <gtest/gtest.h>

#include "platform/entry.h"

platform::Services* TestServices = nullptr;

namespace {
int TestsMain(platform::Services& s) {
    TestServices = &s;
    return RUN_ALL_TESTS();
}
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return platform::RunProgram(TestsMain);
}
