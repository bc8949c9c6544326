// The tool against the virtual board: live weights, line rates, faults.
#include "headless_board.h"
#include "link/board_protocol.h"
#include "link_fixture.h"

using platform::Black;
using platform::Grey;

namespace {

struct LiveTest : LinkTest {
    std::unique_ptr<boardsim::HeadlessBoard> board;
    void useBoard(boardsim::Options o) {
        board = std::make_unique<boardsim::HeadlessBoard>(machine, o);
        machine.attachSerial(1, board.get());
    }
    void TearDown() override {
        session.reset();
        board.reset();
    }
    void send(const std::string& command) {
        session->onProgramThread([&] { boardtool::SendCommand(tool(), command); });
    }
};

TEST_F(LiveTest, DisplayFollowsTheLoadAndItsIndicators) {
    useBoard({.weight = 0});
    startAndOpen();
    session->advance(3000);
    EXPECT_EQ(text("WeightDisplay"), "0.000");
    EXPECT_EQ(colour("ZeroLabel"), Black);
    EXPECT_EQ(colour("NetLabel"), Grey);
    EXPECT_EQ(colour("StableLabel"), Black);

    // Replies are made when a poll arrives: the next poll shows the load.
    board->model().setLoad(2.5, machine.nowMicros);
    session->advance(250);
    EXPECT_EQ(text("WeightDisplay"), "2.500");
    EXPECT_EQ(colour("ZeroLabel"), Grey);
    EXPECT_EQ(colour("StableLabel"), Grey);  // still settling
    session->advance(600);
    EXPECT_EQ(colour("StableLabel"), Black);

    send("T3");
    session->advance(250);
    EXPECT_EQ(text("WeightDisplay"), "0.000");
    EXPECT_EQ(colour("NetLabel"), Black);
    EXPECT_EQ(colour("ZeroLabel"), Grey);  // the gross weight is not zero
    send("Q7");
    session->advance(250);
    EXPECT_EQ(text("WeightDisplay"), "2.500");
    EXPECT_EQ(colour("NetLabel"), Grey);
    EXPECT_EQ(text("MinLabel"), "最小值：0.000");
    EXPECT_EQ(text("MaxLabel"), "最大值：2.500");
    EXPECT_EQ(text("DiffLabel"), "差  值：2.5");
    EXPECT_EQ(text("UnitLabel"), "kg");
}

TEST_F(LiveTest, InternalCodeModeShowsTheRawReading) {
    useBoard({.weight = 1.5});
    startAndOpen();
    session->advance(3000);
    session->click("MainWindow", "InternalCodeCheck");
    session->advance(400);
    EXPECT_EQ(text("WeightDisplay"), "55000");
    EXPECT_EQ(tool().LastInternalCode, 55000);
    EXPECT_EQ(board->model().commands().back(), "N5");
}

TEST_F(LiveTest, PcAtAnotherRateThanTheBoardHearsNothingUseful) {
    useBoard({.weight = 1.5});
    start();
    session->pick("MainWindow", "PcBaudCombo", 2);  // 4800
    session->click("MainWindow", "OpenButton");
    session->advance(4000);
    EXPECT_EQ(text("WeightDisplay"), "---------");
    EXPECT_EQ(text("GoodLabel"), "正常：0次");
    EXPECT_EQ(tool().SettingsReceived, 0);
    std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], ">>>PC端通讯波特率为4800bps；");
    EXPECT_EQ(lines[2], ">>>PC端与称重板通讯失败；");
    EXPECT_TRUE(board->model().commands().empty() || board->model().commands().back() != "P0");
}

TEST_F(LiveTest, NewBoardRateAfterASaveSilencesThePcUntilItFollows) {
    useBoard({.weight = 1.5});
    startAndOpen();
    session->advance(3000);
    ASSERT_EQ(text("WeightDisplay"), "1.500");
    send(boardtool::SaveSettingsCommand({1, 2, 0, 2, 2, 3, 3}));  // 2400 bit/s, two decimals
    EXPECT_EQ(board->model().baud(), 2400);
    session->advance(200);
    int64_t good = tool().GoodCount;
    session->advance(1000);
    EXPECT_EQ(tool().GoodCount, good);  // polls at 9600 are garbage to the board
    EXPECT_EQ(text("WeightDisplay"), "1.500");

    session->click("MainWindow", "OpenButton");  // close
    session->pick("MainWindow", "PcBaudCombo", 1);
    session->click("MainWindow", "OpenButton");
    session->advance(4000);
    EXPECT_EQ(text("WeightDisplay"), "1.50");
    EXPECT_EQ(combo("BoardBaudCombo").selected(), 1);
    EXPECT_EQ(logLines()[2], ">>> 称重板通讯波特率配置为：2400bps；");
}

struct FaultCase {
    const char* name;
    boardsim::Faults faults;
    bool weights;  // weight replies still come through
};

TEST_F(LiveTest, FaultsOfTheLine) {
    const FaultCase cases[] = {
        {"silent", {.silent = true}, false},
        {"cut short", {.cutBytes = 2}, false},
        {"noise before", {.noiseBytes = 5, .noiseAt = 0}, true},
        {"noise inside", {.noiseBytes = 4, .noiseAt = 5}, false},
        {"wrong rate", {.wrongBaud = 2400}, false},
        {"every other cut", {.cutBytes = 3, .every = 2}, true},
    };
    for (const FaultCase& c : cases) {
        boardsim::Options o;
        o.weight = 1.5;
        o.faults = c.faults;
        useBoard(o);
        startAndOpen();
        session->advance(4000);
        EXPECT_EQ(text("WeightDisplay"), c.weights ? "1.500" : "---------") << c.name;
        EXPECT_EQ(tool().GoodCount > 0, c.weights) << c.name;
        if (!c.weights) {
            EXPECT_EQ(text("GoodLabel"), "正常：0次") << c.name;
            EXPECT_NE(text("ErrorLabel"), "错误：0次") << c.name;
        }
        session.reset();
        board.reset();
    }
}

TEST_F(LiveTest, CutRepliesStillMoveTheStatusMarker) {
    useBoard({.weight = 1.5, .faults = {.cutBytes = 2}});
    startAndOpen();
    session->advance(1000);
    EXPECT_NE(text("StatusLabel"), boardtool::NoCommunicationWarning);
    EXPECT_EQ(text("StatusLabel").substr(text("StatusLabel").size() - 3), ">>>");
}

}  // namespace
