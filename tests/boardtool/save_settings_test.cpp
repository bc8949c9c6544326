// Reading the settings from the board and saving them to it.
#include "settings_fixture.h"

namespace {

using Command = ScriptedBoard::Command;
using What = ScriptedBoard::What;

const char* const Warning = "无通讯，请检查电源、通讯线路、及波特率设置!";

TEST_F(SettingsTest, FactoryDefaultsGoOutTwiceThenThePortReopensAtTheSameRate) {
    startOpen();
    size_t mark = board.mark();
    int64_t t = now();
    click("SaveSettingsButton");

    // Every pause blocks: the writes come exactly where the sleeps put them,
    // and nothing else (no timer poll) comes between.
    EXPECT_EQ(commandsBeforePoll(mark), (std::vector<Command>{
                                            {t + ms(100), 9600, "W0302000203030316"},
                                            {t + ms(150), 9600, "W0302000203030316"},
                                        }));
    // The open closes the port and opens it again, once.
    auto port = board.portEventsSince(mark);
    ASSERT_EQ(port.size(), 2u);
    EXPECT_EQ(port[0].what, What::Closed);
    EXPECT_EQ(port[0].atMicros, t + ms(170));
    EXPECT_EQ(port[1].what, What::Opened);
    EXPECT_EQ(port[1].atMicros, t + ms(170));
    EXPECT_EQ(port[1].baud, 9600);
    // One poll at once, 10 ms after the warning; the timer polls again 200 ms later.
    auto all = board.commandsSince(mark);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2], (Command{t + ms(180), 9600, "P0"}));
    EXPECT_EQ(text("StatusLabel"), Warning);
    EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 200);
    session->advance(200);
    ASSERT_EQ(board.commandsSince(mark).size(), 4u);
    EXPECT_EQ(board.commandsSince(mark)[3], (Command{t + ms(380), 9600, "P0"}));

    // The window still shows the open port and the unchanged settings.
    EXPECT_EQ(text("OpenButton"), "关闭");
    EXPECT_TRUE(get<platform::Control>("SettingsGroup").enabled());
    EXPECT_EQ(text("PcBaudCombo"), "9600");
}

TEST_F(SettingsTest, PcSideFollowsTheBoardBaudRate) {
    startOpen();
    pick("BoardBaudCombo", 1);  // "2400"
    size_t mark = board.mark();
    int64_t t = now();
    click("SaveSettingsButton");

    EXPECT_EQ(commandsBeforePoll(mark), (std::vector<Command>{
                                            {t + ms(100), 9600, "W0102000203030314"},
                                            {t + ms(150), 9600, "W0102000203030314"},
                                        }));
    EXPECT_EQ(text("PcBaudCombo"), "2400");
    EXPECT_EQ(text("BoardBaudCombo"), "2400");
    auto port = board.portEventsSince(mark);
    ASSERT_EQ(port.size(), 2u);
    EXPECT_EQ(port[1].what, What::Opened);
    EXPECT_EQ(port[1].baud, 2400);
    EXPECT_EQ(board.commandsSince(mark).back(), (Command{t + ms(180), 2400, "P0"}));
}

TEST_F(SettingsTest, EverySettingIsSentAsItsPosition) {
    startOpen();
    pick("BoardBaudCombo", 0);
    pick("ProtocolCombo", 5);
    pick("ZeroTrackCombo", 4);
    pick("DecimalsCombo", 1);
    pick("CapacityCombo", 7);
    pick("DivisionCombo", 8);
    size_t mark = board.mark();
    click("SaveSettingsButton");
    auto sent = commandsBeforePoll(mark);
    ASSERT_EQ(sent.size(), 2u);
    // mode 2 is shown and sent back unchanged; 0+2+5+4+1+7+8 = 27
    EXPECT_EQ(sent[0].text, "W0002050401070827");
    EXPECT_EQ(sent[1].text, sent[0].text);
}

struct Reopen {
    int refused;                 // opens the board refuses after the save
    std::vector<int> attemptsAt; // ms after the click
    bool staysOpen;
};

TEST_F(SettingsTest, ReopenIsTriedUpToFiveTimes) {
    const Reopen cases[] = {
        {0, {170}, true},
        {1, {170, 210}, true},
        {4, {170, 210, 250, 290, 330}, true},
        {5, {170, 210, 250, 290, 330}, false},
        {9, {170, 210, 250, 290, 330}, false},
    };
    for (const Reopen& c : cases) {
        SCOPED_TRACE("refused " + std::to_string(c.refused));
        startOpen();
        board.refuseOpens = c.refused;
        size_t mark = board.mark();
        int64_t t = now();
        click("SaveSettingsButton");

        std::vector<int> attempts;
        int closes = 0;
        for (const auto& e : board.portEventsSince(mark)) {
            if (e.what == What::Closed) ++closes;
            if (e.what != What::Closed) attempts.push_back(static_cast<int>((e.atMicros - t) / 1000));
        }
        EXPECT_EQ(attempts, c.attemptsAt);
        EXPECT_EQ(closes, 1);  // only the open port is closed, by the first attempt

        if (c.staysOpen) {
            EXPECT_EQ(session->openBox(), nullptr);
            EXPECT_EQ(text("OpenButton"), "关闭");
            EXPECT_EQ(text("StatusLabel"), Warning);
            EXPECT_EQ(board.commandsSince(mark).back(),
                      (Command{t + ms(c.attemptsAt.back() + 10), 9600, "P0"}));
        } else {
            // Closed exactly as OpenButton closes, then told as a failed open is.
            const headless::BoxRecord* box = session->openBox();
            ASSERT_TRUE(box);
            EXPECT_EQ(box->text, "端口无法打开，请重新选择端口！");
            EXPECT_EQ(box->caption, "错误");
            EXPECT_EQ(box->icon, platform::Icon::Information);
            EXPECT_EQ(box->buttons, platform::Buttons::Ok);
            EXPECT_EQ(text("OpenButton"), "打开");
            EXPECT_EQ(text("StatusLabel"), " >>>");
            EXPECT_TRUE(get<platform::Control>("PortCombo").enabled());
            EXPECT_TRUE(get<platform::Control>("PcBaudCombo").enabled());
            for (const char* g : {"SettingsGroup", "CalibrationGroup", "WeightGroup", "VersionGroup", "TestGroup"})
                EXPECT_FALSE(get<platform::Control>(g).enabled()) << g;
            session->answer(platform::Answer::Ok);
            EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 0);
            size_t after = board.mark();
            session->advance(1000);
            EXPECT_EQ(board.mark(), after) << "nothing more goes to the port";
            // Once the board takes the line again, OpenButton opens the port.
            board.refuseOpens = 0;
            click("OpenButton");
            EXPECT_EQ(text("OpenButton"), "关闭");
        }
        session.reset();
    }
}

struct Unselected {
    const char* list;
    const char* message;
};

TEST_F(SettingsTest, SaveWithAListUnselectedSendsNothingAndNamesTheList) {
    const Unselected cases[] = {
        {"BoardBaudCombo", "请先选择通讯波特率，再保存设置！"},
        {"TransmitModeCombo", "通讯方式未知，请先读取设置，再保存设置！"},
        {"ProtocolCombo", "请先选择通讯协议，再保存设置！"},
        {"ZeroTrackCombo", "请先选择零点跟踪，再保存设置！"},
        {"DecimalsCombo", "请先选择小数点位置，再保存设置！"},
        {"CapacityCombo", "请先选择最大称量，再保存设置！"},
        {"DivisionCombo", "请先选择显示分度值，再保存设置！"},
    };
    for (const Unselected& c : cases) {
        SCOPED_TRACE(c.list);
        startOpen();
        session->onProgramThread([&] { combo(c.list).select(-1); });
        size_t mark = board.mark();
        click("SaveSettingsButton");
        headless::BoxRecord box = answerBox();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.caption, "信息：");
        EXPECT_EQ(box.icon, platform::Icon::None);
        EXPECT_EQ(box.buttons, platform::Buttons::Ok);
        session->advance(1000);
        EXPECT_TRUE(nonPollCommandsSince(mark).empty());
        EXPECT_TRUE(board.portEventsSince(mark).empty());
        EXPECT_GE(board.commandsSince(mark).size(), 5u) << "polling goes on";
        EXPECT_EQ(text("PcBaudCombo"), "9600");
        session.reset();
    }
}

TEST_F(SettingsTest, ReadSettingsAgainstASilentBoard) {
    startOpen();
    pick("CapacityCombo", 5);
    size_t mark = board.mark();
    int64_t t = now();
    click("ReadSettingsButton");
    EXPECT_EQ(board.commandsSince(mark), (std::vector<Command>{
                                             {t + ms(10), 9600, "R1"},
                                             {t + ms(20), 9600, "P0"},
                                         }));
    EXPECT_EQ(text("StatusLabel"), Warning);
    session->advance(2000);
    EXPECT_EQ(board.commandsSince(mark).size(), 12u);  // the poll at once and ten timer polls
    EXPECT_EQ(text("StatusLabel"), Warning);
    EXPECT_EQ(combo("CapacityCombo").selected(), 5);
    EXPECT_EQ(combo("BoardBaudCombo").selected(), 3);
}

}  // namespace
