// The backend tests run as the program of one Windows program entry.
// Started with "--write-arguments", the program instead writes the
// arguments it was given to arguments.txt beside it (see processes_test).
#include <gtest/gtest.h>

#include <cstring>

#include "platform/entry.h"

platform::Services* TestServices = nullptr;

namespace {

int TestsMain(platform::Services& s) {
    TestServices = &s;
    return RUN_ALL_TESTS();
}

int WriteArgumentsMain(platform::Services& s) {
    std::string text;
    for (const platform::Text& a : s.processes().arguments()) text += a + "\n";
    platform::Text dir = s.files().runDirectory();
    {
        auto f = s.files().create(dir + "\\arguments.tmp");
        if (!f || !f->write(text.data(), text.size())) return 1;
    }
    return s.files().replaceFile(dir + "\\arguments.tmp", dir + "\\arguments.txt") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--write-arguments") == 0)
        return platform::RunProgram(WriteArgumentsMain);
    ::testing::InitGoogleTest(&argc, argv);
    return platform::RunProgram(TestsMain);
}
