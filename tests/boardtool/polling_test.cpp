// The poll every 200 ms and the communication test.
#include "headless_board.h"
#include "link_fixture.h"

namespace {

// Times of the polls the tool wrote, in ms since the first one.
std::vector<int64_t> PollTimes(const headless::Machine& m, const std::string& command) {
    std::vector<int64_t> times;
    const auto& writes = m.serialWritten.at(1);
    for (size_t i = 0; i + 3 < writes.size(); ++i)
        if (writes[i].bytes == command.substr(0, 1) && writes[i + 1].bytes == command.substr(1, 1) &&
            writes[i + 2].bytes == "\r" && writes[i + 3].bytes == "\n")
            times.push_back(writes[i].atMicros / 1000);
    for (size_t i = times.size(); i-- > 0;) times[i] -= times[0];
    return times;
}

// Opens the link, waits until the connection report is written and starts
// the test again right after a poll.
void OpenAndSettle(LinkTest& t) {
    t.startAndOpen();
    t.session->advance(4000);
    t.session->click("MainWindow", "ResetTestButton");
}

TEST_F(LinkTest, SilentBoardPollsEvery200MsAndCountsErrors) {
    OpenAndSettle(*this);
    session->advance(1000);
    // One poll at the open, then every 200 ms, the report's pauses included.
    std::vector<int64_t> times = PollTimes(machine, "P0");
    ASSERT_EQ(times.size(), 26u);
    for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], int64_t(i) * 200);
    EXPECT_EQ(text("SentLabel"), "测试：5次");
    EXPECT_EQ(text("ErrorLabel"), "错误：4次");
    EXPECT_EQ(text("GoodLabel"), "正常：0次");
    EXPECT_EQ(text("ElapsedLabel"), "计时：00:00:01");
}

TEST_F(LinkTest, BoardAnsweringEveryPoll) {
    boardsim::Options o;
    o.weight = 3;
    boardsim::HeadlessBoard board(machine, o);
    machine.attachSerial(1, &board);
    OpenAndSettle(*this);
    session->advance(1050);
    EXPECT_EQ(text("SentLabel"), "测试：5次");
    EXPECT_EQ(text("ErrorLabel"), "错误：0次");
    EXPECT_EQ(text("GoodLabel"), "正常：5次");
    EXPECT_EQ(text("WeightDisplay"), "3.000");
    EXPECT_EQ(text("MinLabel"), "最小值：3.000");
    EXPECT_EQ(text("DiffLabel"), "差  值：0");
    session.reset();
}

struct ChattyCase {
    int repliesPerPoll;
    int continuousMs;
    const char* good;  // after the fifth poll's replies
};

TEST_F(LinkTest, BoardAnsweringMoreThanPolledCannotMakeErrorsNegative) {
    const ChattyCase cases[] = {{3, 0, "正常：7次"}, {1, 50, nullptr}};
    for (const ChattyCase& c : cases) {
        boardsim::Options o;
        o.weight = 1;
        o.faults.repliesPerPoll = c.repliesPerPoll;
        o.continuousMs = c.continuousMs;
        boardsim::HeadlessBoard board(machine, o);
        machine.attachSerial(1, &board);
        OpenAndSettle(*this);
        std::vector<std::string> errors;
        for (int i = 0; i < 5; ++i) {
            session->advance(200);
            errors.push_back(text("ErrorLabel"));
            EXPECT_LE(tool().GoodCount - tool().SentCount, 5 * c.repliesPerPoll);
        }
        session->advance(100);
        EXPECT_EQ(errors, std::vector<std::string>(5, "错误：0次"));
        if (c.good) {
            EXPECT_EQ(text("GoodLabel"), c.good);
        }
        // Every reply is counted: more than the polls.
        EXPECT_GT(tool().GoodCount, tool().SentCount);
        EXPECT_EQ(text("SentLabel"), "测试：5次");
        session.reset();
        machine.detachSerial(1);
    }
}

struct ElapsedCase {
    int64_t seconds;
    const char* shown;
};

TEST_F(LinkTest, ElapsedTimeWrapsAfter100Hours) {
    const ElapsedCase cases[] = {{0, "计时：00:00:00"},       {59, "计时：00:00:59"},
                                 {3725, "计时：01:02:05"},    {36000, "计时：10:00:00"},
                                 {359999, "计时：99:59:59"},  {360000, "计时：00:00:00"},
                                 {363661, "计时：01:01:01"},  {-5, "计时：00:00:00"}};
    for (const ElapsedCase& c : cases) {
        start();
        // Open at a whole second, so the first tick falls in the same one.
        session->advance(static_cast<int>(1000 - machine.nowMillis() % 1000));
        session->click("MainWindow", "OpenButton");
        // The wall clock jumps; the virtual clock of the timers does not.
        machine.epochSeconds += c.seconds;
        session->advance(200);
        EXPECT_EQ(text("ElapsedLabel"), c.shown) << c.seconds;
        session.reset();
    }
}

TEST_F(LinkTest, InternalCodeModeSwitchesThePollCommand) {
    startAndOpen();
    session->advance(4000);  // past the connection report
    size_t before = device.all().size();
    session->advance(400);
    session->click("MainWindow", "InternalCodeCheck");
    session->advance(400);
    session->click("MainWindow", "InternalCodeCheck");
    session->advance(200);
    EXPECT_EQ(device.all().substr(before), "P0\r\nP0\r\nN5\r\nN5\r\nP0\r\n");
}

TEST_F(LinkTest, ResetTestClearsCountsButNoLabels) {
    boardsim::Options o;
    o.weight = 4;
    boardsim::HeadlessBoard board(machine, o);
    machine.attachSerial(1, &board);
    startAndOpen();
    session->advance(1050);
    std::string sent = text("SentLabel"), good = text("GoodLabel"), min = text("MinLabel");
    board.model().setLoad(5, machine.nowMicros);
    session->click("MainWindow", "ResetTestButton");
    EXPECT_EQ(text("ReceiveBox"), "");
    EXPECT_EQ(tool().SentCount, 0);
    EXPECT_EQ(tool().GoodCount, 0);
    EXPECT_EQ(text("SentLabel"), sent);
    EXPECT_EQ(text("GoodLabel"), good);
    EXPECT_EQ(text("MinLabel"), min);
    session->advance(200);
    // The next reply replaces both ends.
    EXPECT_EQ(text("MinLabel"), "最小值：5.000");
    EXPECT_EQ(text("MaxLabel"), "最大值：5.000");
    EXPECT_EQ(text("GoodLabel"), "正常：1次");
    EXPECT_EQ(text("SentLabel"), "测试：1次");
    session.reset();
}

}  // namespace
