// The virtual board's answers, its state and its faults.
#include <gtest/gtest.h>

#include "board_model.h"

using namespace boardsim;

namespace {

const int64_t Byte9600 = ByteMicros(9600);  // 1041 us

// Everything the board sends for one command heard at 9600 bit/s.
std::vector<Frame> Ask(BoardModel& b, const std::string& command, int64_t at = 10'000'000) {
    return b.hear(command + "\r\n", 9600, at);
}
std::string AskOne(BoardModel& b, const std::string& command, int64_t at = 10'000'000) {
    auto frames = Ask(b, command, at);
    return frames.size() == 1 ? frames[0].bytes : "<" + std::to_string(frames.size()) + " frames>";
}

TEST(BoardModel, AnswersPollsVersionAndSettings) {
    Options o;
    o.weight = 1.5;
    BoardModel b(o);
    EXPECT_EQ(AskOne(b, "P0"), "+001.500kgGS001\r\n");
    EXPECT_EQ(AskOne(b, "N5"), "+0055000kgGS001\r\n");
    EXPECT_EQ(AskOne(b, "V6"), "+0123456VA     \r\n");
    EXPECT_EQ(AskOne(b, "R1"), std::string("R\0\3\0\2\0\0\0\2\0\3\0\3\0\3\r\n", 17));
    for (const char* silent : {"T3", "Q7", "Z4", "W0302000203030316", "CAL0000000", "XY"})
        EXPECT_TRUE(Ask(b, silent).empty()) << silent;
    EXPECT_EQ(b.commands(), (std::vector<std::string>{"P0", "N5", "V6", "R1", "T3", "Q7", "Z4",
                                                      "W0302000203030316", "CAL0000000", "XY"}));
}

TEST(BoardModel, VersionEditionUnitAndDecimalsAreConfigurable) {
    Options o;
    o.edition = 'Y';
    o.version = "B3.45.67";
    o.unit = "g";
    o.weight = 12;
    o.settings = {3, 3, 0, 2, 0, 3, 3};  // no decimals
    BoardModel b(o);
    EXPECT_EQ(AskOne(b, "V6"), "+0134567YB     \r\n");
    EXPECT_EQ(AskOne(b, "P0"), "+0000012g GS001\r\n");
}

TEST(BoardModel, OverloadFillsTheFieldWithNines) {
    Options o;
    o.weight = 12345.678;
    BoardModel b(o);
    EXPECT_EQ(AskOne(b, "P0"), "+999.999kgGS001\r\n");
    o.settings[DecimalsSetting] = 0;
    o.weight = 123456789;
    BoardModel whole(o);
    EXPECT_EQ(AskOne(whole, "P0"), "+9999999kgGS001\r\n");
}

TEST(BoardModel, RepliesFollowTheCommandOnTheLine) {
    BoardModel b;
    // Four one-byte writes at the same moment go out one after the other.
    std::vector<Frame> frames;
    for (const char* piece : {"P", "0", "\r", "\n"}) {
        auto f = b.hear(piece, 9600, 1000);
        frames.insert(frames.end(), f.begin(), f.end());
    }
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].atMicros, 1000 + 4 * Byte9600 + 2000);
    EXPECT_EQ(frames[0].baud, 9600);
    // A second reply never overlaps the first on the line.
    Options o;
    o.faults.repliesPerPoll = 3;
    BoardModel three(o);
    auto f = Ask(three, "P0", 0);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[1].atMicros, f[0].atMicros + 17 * Byte9600);
    EXPECT_EQ(f[2].atMicros, f[1].atMicros + 17 * Byte9600);
}

TEST(BoardModel, TareZeroAndClearTareChangeTheWeight) {
    Options o;
    o.weight = 10;
    BoardModel b(o);
    int64_t t = 10'000'000;
    EXPECT_EQ(AskOne(b, "P0", t), "+010.000kgGS001\r\n");
    Ask(b, "T3", t);
    EXPECT_EQ(AskOne(b, "P0", t), "+000.000kgNT011\r\n");
    b.setLoad(12.5, t);
    EXPECT_EQ(AskOne(b, "P0", t + 100'000), "+002.500kgNT010\r\n");  // not settled yet
    EXPECT_EQ(AskOne(b, "P0", t + 600'000), "+002.500kgNT011\r\n");
    b.setLoad(8, t);
    EXPECT_EQ(AskOne(b, "P0", t + 600'000), "-002.000kgNT011\r\n");
    Ask(b, "Q7", t + 600'000);
    EXPECT_EQ(AskOne(b, "P0", t + 600'000), "+008.000kgGS001\r\n");
    Ask(b, "Z4", t + 600'000);
    EXPECT_EQ(AskOne(b, "P0", t + 600'000), "+000.000kgGS101\r\n");
    b.setLoad(9, t);
    EXPECT_EQ(AskOne(b, "P0", t + 600'000), "+001.000kgGS001\r\n");
    // The raw reading knows nothing of zero and tare.
    EXPECT_EQ(AskOne(b, "N5", t + 600'000), "+0070000kgGS001\r\n");
}

TEST(BoardModel, CalibrationMapsTheReadingToTheGivenWeight) {
    BoardModel b;
    int64_t t = 10'000'000;
    b.setLoad(0.4, 0);
    Ask(b, "CAL0000000", t);
    EXPECT_EQ(AskOne(b, "P0", t), "+000.000kgGS101\r\n");
    b.setLoad(7.9, 0);
    Ask(b, "CAL0015000", t);  // 15.000 with three decimals
    EXPECT_EQ(AskOne(b, "P0", t), "+015.000kgGS001\r\n");
    b.setLoad(4.15, 0);
    EXPECT_EQ(AskOne(b, "P0", t), "+007.500kgGS001\r\n");
}

TEST(BoardModel, SavedSettingsNeedTheirCheckSum) {
    BoardModel b;
    Ask(b, "W0102030405060722");  // sum 28, not 22: ignored
    EXPECT_EQ(b.settings(), FactorySettings);
    Ask(b, "W0302010102050317");
    EXPECT_EQ(b.settings(), (Settings{3, 2, 1, 1, 2, 5, 3}));
    EXPECT_EQ(AskOne(b, "R1"), std::string("R\0\3\0\2\0\1\0\1\0\2\0\5\0\3\r\n", 17));
    EXPECT_EQ(AskOne(b, "P0"), "+0000.00kgGS101\r\n");  // two decimals now
}

TEST(BoardModel, NewBaudRateTakesEffectAfterTheSave) {
    BoardModel b;
    EXPECT_EQ(b.baud(), 9600);
    Ask(b, "W0102000203030314");
    EXPECT_EQ(b.baud(), 2400);
    // The PC still at 9600: the board hears garbage and answers nothing.
    EXPECT_TRUE(Ask(b, "P0").empty());
    // At 2400 it is understood again, and answers at 2400.
    auto f = b.hear("P0\r\n", 2400, 20'000'000);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].baud, 2400);
    EXPECT_EQ(b.commands().back(), "P0");
}

TEST(BoardModel, GarbageBeforeACommandDoesNotHideIt) {
    BoardModel b;
    EXPECT_EQ(b.hear("\x80\xF0zzP0\r\n", 9600, 0).size(), 1u);
    EXPECT_EQ(b.hear(std::string(500, 'q'), 9600, 0).size(), 0u);
    EXPECT_EQ(b.hear("R1\r\n", 9600, 0).size(), 1u);
}

TEST(BoardModel, Faults) {
    auto frames = [](Faults f, const std::string& command = "P0") {
        Options o;
        o.weight = 1.5;
        o.faults = f;
        BoardModel b(o);
        std::vector<std::string> out;
        for (int i = 0; i < 2; ++i)
            for (const Frame& fr : Ask(b, command)) out.push_back(fr.bytes);
        return out;
    };
    const std::string full = "+001.500kgGS001\r\n";
    EXPECT_EQ(frames({.silent = true}), std::vector<std::string>{});
    EXPECT_EQ(frames({.silent = true}, "V6"), std::vector<std::string>{});
    EXPECT_EQ(frames({.cutBytes = 5}), (std::vector<std::string>{full.substr(5), full.substr(5)}));
    EXPECT_EQ(frames({.cutBytes = 5, .every = 2}), (std::vector<std::string>{full, full.substr(5)}));
    EXPECT_EQ(frames({.repliesPerPoll = 0}), std::vector<std::string>{});
    EXPECT_EQ(frames({.repliesPerPoll = 2}), std::vector<std::string>(4, full));
    EXPECT_EQ(frames({.repliesPerPoll = 2}, "V6").size(), 2u);  // only polls repeat

    auto noisy = frames({.noiseBytes = 4, .noiseAt = 3});
    ASSERT_EQ(noisy.size(), 2u);
    EXPECT_EQ(noisy[0].size(), 21u);
    EXPECT_EQ(noisy[0].substr(0, 3) + noisy[0].substr(7), full);
    EXPECT_EQ(noisy[0].substr(3, 4).find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(noisy[0].substr(3, 4), noisy[1].substr(3, 4));

    Options o;
    o.faults.wrongBaud = 4800;
    BoardModel b(o);
    auto f = Ask(b, "P0");
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].baud, 4800);
    EXPECT_EQ(f[0].bytes, "+000.000kgGS101\r\n");
}

TEST(BoardModel, ContinuousModeSendsUnasked) {
    Options o;
    o.continuousMs = 100;
    o.weight = 2;
    BoardModel b(o);
    b.lineReset(1'000'000);
    EXPECT_EQ(b.nextUnaskedMicros(), 1'100'000);
    EXPECT_TRUE(b.unasked(1'050'000).empty());
    auto f = b.unasked(1'350'000);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].atMicros, 1'100'000);
    EXPECT_EQ(f[2].atMicros, 1'300'000);
    EXPECT_EQ(f[0].bytes, "+002.000kgGS001\r\n");
    EXPECT_EQ(b.nextUnaskedMicros(), 1'400'000);
    EXPECT_EQ(BoardModel().nextUnaskedMicros(), -1);
}

TEST(BoardModel, DriftMovesTheLoadUpAndDown) {
    Options o;
    o.weight = 5;
    o.driftPerSecond = 0.5;
    o.driftSpan = 1;
    BoardModel b(o);
    EXPECT_DOUBLE_EQ(b.load(0), 5);
    EXPECT_DOUBLE_EQ(b.load(1'000'000), 5.5);
    EXPECT_DOUBLE_EQ(b.load(2'000'000), 6);
    EXPECT_DOUBLE_EQ(b.load(3'000'000), 5.5);
    EXPECT_DOUBLE_EQ(b.load(4'000'000), 5);
    // The command's last byte arrives at 1 s.
    std::string frame = AskOne(b, "P0", 1'000'000 - 4 * Byte9600);
    EXPECT_EQ(frame.substr(0, 8), "+005.500");
    EXPECT_EQ(frame.substr(14, 1), "0");  // moving: not stable
}

}  // namespace
