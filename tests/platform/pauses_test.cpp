// The two pauses and the timers on the virtual clock.
#include <gtest/gtest.h>

#include "headless/session.h"
#include "platform/services.h"

using namespace platform;

namespace {

const FormSpec PauseForm = {
    .name = "PauseWindow",
    .caption = "pauses",
    .place = {0, 0, 200, 100},
    .controls =
        {
            {.name = "SleepButton", .kind = Kind::Button, .text = "sleep"},
            {.name = "PumpButton", .kind = Kind::Button, .text = "pump"},
            {.name = "TickTimer", .kind = Kind::Timer},
        },
};

// A device that answers every write with one byte after 5 ms.
struct EchoDevice : headless::SerialDevice {
    void written(headless::SerialLink& link, const std::string& bytes, int) override {
        link.toPc(bytes.substr(0, 1), 5000);
    }
};

struct Log {
    std::vector<std::string> events;
};

int PauseProgram(Services& s, Log& log) {
    Window& w = s.ui().createWindow(PauseForm);
    auto port = s.createSerialPort();
    port->setPortNumber(2);
    port->DataArrived = [&](int b) {
        log.events.push_back("byte " + std::string(1, char(b)) + " at " +
                             std::to_string(s.clock().milliseconds()));
    };
    auto& timer = w.get<Timer>("TickTimer");
    timer.Elapsed = [&] { log.events.push_back("tick at " + std::to_string(s.clock().milliseconds())); };
    w.get<Button>("SleepButton").Clicked = [&] {
        port->open();
        port->send("s");
        s.ui().sleep(50);
        log.events.push_back("sleep over at " + std::to_string(s.clock().milliseconds()));
    };
    w.get<Button>("PumpButton").Clicked = [&] {
        port->open();
        port->send("p");
        s.ui().pumpFor(50);
        log.events.push_back("pump over at " + std::to_string(s.clock().milliseconds()));
    };
    w.get<Button>("SleepButton").setText("ready");
    timer.setPeriod(0);
    s.ui().runUntilDestroyed(w);
    return 7;
}

struct PausesTest : ::testing::Test {
    headless::Machine machine;
    EchoDevice device;
    Log log;
    std::unique_ptr<headless::Session> session;
    void SetUp() override {
        machine.attachSerial(2, &device);
        session = std::make_unique<headless::Session>(machine);
        session->start([this](Services& s) { return PauseProgram(s, log); });
    }
};

TEST_F(PausesTest, ByteArrivingDuringBlockingPauseIsDeliveredAfterIt) {
    session->click("PauseWindow", "SleepButton");
    // The byte was on the line at about 6 ms but only handled after the sleep.
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[0], "sleep over at 50");
    EXPECT_EQ(log.events[1], "byte s at 50");
}

TEST_F(PausesTest, ByteArrivingDuringPumpingPauseIsHandledInsideIt) {
    session->click("PauseWindow", "PumpButton");
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[0], "byte p at 6");
    EXPECT_EQ(log.events[1], "pump over at 50");
}

TEST_F(PausesTest, TimersFireOnThePeriodAndStopAtZero) {
    session->onProgramThread([&] {
        session->mustWindow("PauseWindow").get<Timer>("TickTimer").setPeriod(200);
    });
    session->advance(1000);
    std::vector<std::string> expected = {"tick at 200", "tick at 400", "tick at 600", "tick at 800",
                                         "tick at 1000"};
    EXPECT_EQ(log.events, expected);
    session->onProgramThread([&] {
        session->mustWindow("PauseWindow").get<Timer>("TickTimer").setPeriod(0);
    });
    session->advance(1000);
    EXPECT_EQ(log.events.size(), 5u);
}

TEST_F(PausesTest, ClosingTheWindowEndsTheProgram) {
    EXPECT_TRUE(session->running());
    session->closeWindow("PauseWindow");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->exitCode(), 7);
}

}  // namespace
