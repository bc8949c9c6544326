// Starting programs and the arguments a started program sees.
#include <windows.h>

#include "backend_fixture.h"

using namespace platform;

namespace {

TEST_F(Backend, StartedProgramSeesItsArguments) {
    Files& f = s->files();
    Text run = f.runDirectory();
    Text out = run + "\\arguments.txt";
    f.deleteFile(out);
    Text line = "\"";
    line += run;
    line += "\\backend_tests.exe\" --write-arguments \"甲 乙\"  c \"\"x";
    ASSERT_TRUE(s->processes().start(line));
    std::optional<std::string> seen;
    for (int i = 0; i < 200 && !(seen = ReadWholeFile(f, out)); ++i) Sleep(50);
    ASSERT_TRUE(seen);
    // Blanks separate, double quotes group blanks and are dropped.
    EXPECT_EQ(*seen, "--write-arguments\n甲 乙\nc\nx\n");
}

TEST_F(Backend, StartingAMissingProgramFails) {
    Text line = "\"";
    line += s->files().runDirectory();
    line += "\\没有.exe\"";
    EXPECT_FALSE(s->processes().start(line));
}

}  // namespace
