// The port scan, opening and closing the link, and the connection report.
#include "headless_board.h"
#include "link_fixture.h"

using platform::Answer;
using platform::Icon;

namespace {

const std::vector<std::string> SilentBoardLines = {
    ">>>PC端COM1通讯端口打开成功；",
    ">>>PC端通讯波特率为9600bps；",
    ">>>PC端与称重板通讯失败；",
    ">>>请检查以下几种情况：",
    "     1、PC端通讯端口号选择错误；",
    "     2、PC端通讯端口波特率与称重板设置的波特率不一至；",
    "     3、PC端的通讯端口到称重板端的通讯线路连接异常；",
    "     4、PC端的通讯端口物理损坏；",
    "     5、称重板端的通讯端口物理损坏；",
};

std::vector<std::string> OpenFailedLines(const std::string& port) {
    return {">>>" + port + "通讯端口打开失败；", ">>>请检查" + port + "通讯端口，可能有以下几种情况导至：",
            "     1、通讯端口已被其他打开的程序或软件占用；", "     2、通讯端口选择错误；",
            "     3、通讯端口物理损坏；"};
}

std::vector<std::string> SettingsLines(const std::string& firmware) {
    return {">>>PC端COM1通讯端口打开成功；",
            ">>>PC端通讯波特率为9600bps；",
            ">>> 称重板通讯波特率配置为：9600bps；",
            ">>>    称重板通讯方式配置为：连续传输；",
            ">>>    称重板通讯协议配置为：顶尖OS2X_连续式；",
            ">>>    称重板最大量程配置为：30.000kg；",
            ">>> 称重板小数点位数配置为：3位；",
            ">>> 称重板显示分度值配置为：d=1；",
            ">>>    称重板零点跟踪配置为：1d；",
            ">>>         称重板固件版本为：" + firmware + "；"};
}

const char* Groups[] = {"SettingsGroup", "CalibrationGroup", "WeightGroup", "VersionGroup", "TestGroup"};

TEST_F(LinkTest, ScanListsThePortsThatOpen) {
    ScriptedDevice three, seven;
    machine.detachSerial(1);
    machine.attachSerial(3, &three);
    machine.attachSerial(7, &seven);
    start();
    session->dropDown("MainWindow", "PortCombo");
    EXPECT_EQ(items("PortCombo"), (std::vector<std::string>{"COM3", "COM7"}));
    EXPECT_EQ(combo("PortCombo").itemValue(0), 3);
    EXPECT_EQ(combo("PortCombo").itemValue(1), 7);
    EXPECT_EQ(combo("PortCombo").selected(), 0);
    EXPECT_EQ(text("DetectLog"), "端口扫描完成，共找到2个可用端口。");
    // Every port was opened at 1200 bit/s and closed again; nothing was sent.
    EXPECT_EQ(three.opens, std::vector<int>{1200});
    EXPECT_EQ(seven.opens, std::vector<int>{1200});
    EXPECT_EQ(three.link, nullptr);
    EXPECT_EQ(seven.link, nullptr);
    EXPECT_TRUE(machine.serialWritten.empty());
    EXPECT_EQ(tool().BoardPort->isOpen(), false);
    session.reset();
}

TEST_F(LinkTest, ScanKeepsThePreviousPositionWhenItStillExists) {
    ScriptedDevice three, seven;
    machine.attachSerial(3, &three);
    machine.attachSerial(7, &seven);
    start();
    session->dropDown("MainWindow", "PortCombo");
    ASSERT_EQ(items("PortCombo"), (std::vector<std::string>{"COM1", "COM3", "COM7"}));
    session->pick("MainWindow", "PortCombo", 2, /*dropDown=*/false);
    session->dropDown("MainWindow", "PortCombo");
    EXPECT_EQ(combo("PortCombo").selected(), 2);

    machine.detachSerial(3);  // two ports left: position 2 is gone
    session->dropDown("MainWindow", "PortCombo");
    EXPECT_EQ(items("PortCombo"), (std::vector<std::string>{"COM1", "COM7"}));
    EXPECT_EQ(combo("PortCombo").selected(), 0);

    session->pick("MainWindow", "PortCombo", 1, false);
    session->dropDown("MainWindow", "PortCombo");
    EXPECT_EQ(combo("PortCombo").selected(), 1);

    session->onProgramThread([&] { tool().PortCombo.select(-1); });
    session->dropDown("MainWindow", "PortCombo");
    EXPECT_EQ(combo("PortCombo").selected(), -1);
    session.reset();
}

TEST_F(LinkTest, ScanWithoutPortsListsNoPortWhichOpensPortOne) {
    machine.detachSerial(1);
    start();
    session->dropDown("MainWindow", "PortCombo");
    EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"无端口"});
    EXPECT_EQ(combo("PortCombo").itemValue(0), 0);
    EXPECT_EQ(combo("PortCombo").selected(), -1);
    EXPECT_EQ(text("DetectLog"), "端口扫描完成，未找到可用端口。");

    session->pick("MainWindow", "PortCombo", 0, false);
    machine.attachSerial(1, &device);
    session->click("MainWindow", "OpenButton");
    EXPECT_EQ(session->openBox(), nullptr);
    EXPECT_EQ(text("OpenButton"), "关闭");
    EXPECT_NE(device.link, nullptr);
}

TEST_F(LinkTest, PortHeldByAnotherProgramIsNotListedAndDoesNotOpen) {
    ScriptedDevice three;
    machine.attachSerial(3, &three);
    writePortIni({"ok", "3", "9600", "3", "2", "0", "2", "3", "3", "3", "15.000"});
    start();
    // Another program holds COM3.
    std::unique_ptr<platform::SerialPort> other = session->services().createSerialPort();
    session->onProgramThread([&] {
        other->setPortNumber(3);
        ASSERT_EQ(other->open(), 1);
    });

    session->click("MainWindow", "OpenButton");
    const headless::BoxRecord* box = session->openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "端口无法打开，请重新选择端口！");
    EXPECT_EQ(box->caption, "错误");
    EXPECT_EQ(box->icon, Icon::Information);
    EXPECT_EQ(box->buttons, platform::Buttons::Ok);
    session->answer(Answer::Ok);
    EXPECT_EQ(text("OpenButton"), "打开");
    EXPECT_TRUE(get<platform::Control>("PortCombo").enabled());
    EXPECT_TRUE(get<platform::Control>("PcBaudCombo").enabled());
    for (const char* g : Groups) EXPECT_FALSE(get<platform::Control>(g).enabled()) << g;
    EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 0);
    EXPECT_EQ(tool().PortOpened, 0);

    // Half a second after the attempt, the five lines, 250 ms apart.
    std::vector<size_t> linesAt;
    for (int ms : {499, 501, 751, 1001, 1251, 1501, 3000})
        machine.at(ms * 1000, [&] { linesAt.push_back(logLines().size()); });
    session->advance(3000);
    EXPECT_EQ(linesAt, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 5}));
    EXPECT_EQ(logLines(), OpenFailedLines("COM3"));

    session->dropDown("MainWindow", "PortCombo");
    EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"COM1"});
    session->onProgramThread([&] { other.reset(); });
}

TEST_F(LinkTest, OpeningAppliesTheRateAndPortAndStartsTheDialogue) {
    start();
    session->pick("MainWindow", "PcBaudCombo", 1);
    session->click("MainWindow", "OpenButton");
    EXPECT_EQ(text("OpenButton"), "关闭");
    EXPECT_FALSE(get<platform::Control>("PortCombo").enabled());
    EXPECT_FALSE(get<platform::Control>("PcBaudCombo").enabled());
    for (const char* g : Groups) EXPECT_TRUE(get<platform::Control>(g).enabled()) << g;
    EXPECT_FALSE(get<platform::Control>("TransmitModeCombo").enabled());
    EXPECT_FALSE(get<platform::Control>("VersionButton").enabled());
    EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 200);
    EXPECT_EQ(get<platform::Timer>("DetectTimer").period(), 500);
    EXPECT_EQ(tool().BoardPort->baudRate(), 2400);
    EXPECT_EQ(tool().BoardPort->portNumber(), 1);
    EXPECT_EQ(tool().PortOpened, 1);
    EXPECT_EQ(text("StatusLabel"), boardtool::NoCommunicationWarning);
    // Version, settings, then the first poll, each piece its own write.
    EXPECT_EQ(device.writes, (std::vector<std::string>{"V", "6", "\r", "\n", "R", "1", "\r", "\n", "P", "0",
                                                       "\r", "\n"}));
    for (const headless::WrittenBytes& w : machine.serialWritten[1]) EXPECT_EQ(w.baud, 2400);
    // The test was reset after the first poll.
    EXPECT_EQ(tool().SentCount, 0);
    EXPECT_EQ(tool().GoodCount, 0);
}

TEST_F(LinkTest, SilentBoardReportsTheFiveCausesWhilePollingGoesOn) {
    startAndOpen();
    std::vector<std::string> sentAt;
    std::vector<size_t> linesAt;
    for (int ms = 550; ms <= 2550; ms += 250)
        machine.at(ms * 1000, [&] {
            sentAt.push_back(text("SentLabel"));
            linesAt.push_back(logLines().size());
        });
    session->advance(4000);
    EXPECT_EQ(logLines(), SilentBoardLines);
    EXPECT_EQ(linesAt, (std::vector<size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // Polls every 200 ms from 440 ms on kept running inside the report.
    EXPECT_EQ(sentAt.front(), "测试：1次");
    EXPECT_EQ(sentAt.back(), "测试：11次");
    EXPECT_EQ(text("StatusLabel"), boardtool::NoCommunicationWarning);
    EXPECT_EQ(get<platform::Timer>("DetectTimer").period(), 0);
}

TEST_F(LinkTest, ReportWithSettingsButNoVersion) {
    startAndOpen();
    inject(SettingsFrame({3, 2, 0, 2, 3, 3, 3}));
    session->advance(4000);
    EXPECT_EQ(logLines(), SettingsLines("XX.XX.XX"));
}

TEST_F(LinkTest, ReportFirmwareWithoutLetterKeepsWholeCharacters) {
    startAndOpen();
    inject("+0123456V?     \r\n");
    inject(SettingsFrame({3, 2, 0, 2, 3, 3, 3}));
    session->advance(4000);
    EXPECT_EQ(logLines().back(), ">>>         称重板固件版本为：2.34.56；");
}

TEST_F(LinkTest, ReportOfALiveBoard) {
    boardsim::Options o;
    o.weight = 1.5;
    o.version = "C1.02.03";
    boardsim::HeadlessBoard board(machine, o);
    machine.attachSerial(1, &board);
    startAndOpen();
    session->advance(4000);
    EXPECT_EQ(logLines(), SettingsLines("C1.02.03"));
    EXPECT_EQ(text("WeightDisplay"), "1.500");
    EXPECT_EQ(text("StatusLabel").substr(text("StatusLabel").size() - 3), ">>>");
    session.reset();
}

TEST_F(LinkTest, SecondQuickClickClosesAndTheFirstReportStillComes) {
    start();
    session->click("MainWindow", "OpenButton");
    session->advance(50);
    session->click("MainWindow", "OpenButton");
    EXPECT_EQ(text("OpenButton"), "打开");
    EXPECT_EQ(text("StatusLabel"), " >>>");
    EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 0);
    for (const char* g : Groups) EXPECT_FALSE(get<platform::Control>(g).enabled()) << g;
    EXPECT_TRUE(get<platform::Control>("PortCombo").enabled());
    EXPECT_EQ(device.link, nullptr);
    EXPECT_EQ(tool().PortOpened, 1);  // kept by the close

    std::vector<size_t> linesAt;
    for (int ms : {499, 501}) machine.at(ms * 1000, [&] { linesAt.push_back(logLines().size()); });
    session->advance(4000);
    EXPECT_EQ(linesAt, (std::vector<size_t>{0, 1}));
    EXPECT_EQ(logLines(), SilentBoardLines);
}

TEST_F(LinkTest, NewAttemptDuringAReportEndsTheOldReport) {
    start();
    session->click("MainWindow", "OpenButton");
    // The user closes and opens again while the report of the first attempt
    // is being written (inside its pauses).
    size_t linesBefore = 0;
    machine.at(800'000, [&] {
        linesBefore = logLines().size();
        tool().OpenButton.Clicked();
        tool().OpenButton.Clicked();
    });
    session->advance(6000);
    EXPECT_EQ(linesBefore, 2u);
    EXPECT_EQ(text("OpenButton"), "关闭");
    EXPECT_EQ(logLines(), SilentBoardLines);
}

TEST_F(LinkTest, ClosingKeepsCountersAndDisplays) {
    boardsim::Options o;
    o.weight = 2.25;
    boardsim::HeadlessBoard board(machine, o);
    machine.attachSerial(1, &board);
    startAndOpen();
    session->advance(1000);
    session->click("MainWindow", "OpenButton");
    std::vector<std::string> watched = {"SentLabel", "GoodLabel", "ErrorLabel", "ElapsedLabel", "WeightDisplay",
                                        "MinLabel", "MaxLabel", "DiffLabel", "ReceiveBox"};
    std::vector<std::string> before;
    for (const std::string& n : watched) before.push_back(text(n));
    int64_t sent = tool().SentCount, good = tool().GoodCount;
    EXPECT_GT(sent, 3);
    EXPECT_GT(good, 3);
    EXPECT_EQ(text("WeightDisplay"), "2.250");
    session->advance(3000);
    std::vector<std::string> after;
    for (const std::string& n : watched) after.push_back(text(n));
    EXPECT_EQ(after, before);
    EXPECT_EQ(tool().SentCount, sent);
    EXPECT_EQ(tool().GoodCount, good);
    EXPECT_FALSE(board.isOpen());
    session.reset();
}

}  // namespace
