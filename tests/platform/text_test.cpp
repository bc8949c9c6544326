#include <gtest/gtest.h>

#include "platform/text.h"

using namespace platform;

TEST(Text, TrimRemovesAsciiAndIdeographicSpacesOnly) {
    EXPECT_EQ(TrimBlanks("  ab c  "), "ab c");
    EXPECT_EQ(TrimBlanks("\xA1\xA1 ab\xA1\xA1"), "ab");
    EXPECT_EQ(TrimBlanks("   "), "");
    // C4 A1 is one character whose trail byte is A1: never half a blank.
    EXPECT_EQ(TrimBlanks("\xC4\xA1\xA1"), "\xC4\xA1\xA1");
    EXPECT_EQ(TrimBlanks("\xC4\xA1\xA1\xA1"), "\xC4\xA1");
}

TEST(Text, SplitNeverTakesATrailByteForASeparator) {
    // 0x95 0x5C is one double-byte character whose trail byte is '\'.
    std::vector<Text> parts = SplitCharacters("C:\\\x95\\dir\\\\x", '\\');
    std::vector<Text> expected = {"C:", "\x95\\dir", "", "x"};
    EXPECT_EQ(parts, expected);
    EXPECT_EQ(FindLastCharacter("a\\\x95\\", '\\'), 1u);
    EXPECT_FALSE(EndsWithCharacter("\x95\\", '\\'));
}

TEST(Text, LowerAsciiLeavesDoubleByteCharactersAlone) {
    EXPECT_EQ(LowerAscii("App.LNK"), "app.lnk");
    EXPECT_EQ(LowerAscii("\x81\x41"), "\x81\x41");
}
