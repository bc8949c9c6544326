// Zero, tare and clear tare, in normal and in internal-code mode.
#include "settings_fixture.h"

namespace {

using Command = ScriptedBoard::Command;

struct WeighingCase {
    const char* button;
    const char* blank;
    const char* command;
};

const WeighingCase WeighingCases[] = {
    {"ZeroButton", "--------", "Z4"},
    {"TareButton", "---------", "T3"},
    {"ClearTareButton", "---------", "Q7"},
};

TEST_F(SettingsTest, WeighingCommandsBlankTheWeightAndPauseThePolling) {
    for (const WeighingCase& c : WeighingCases) {
        SCOPED_TRACE(c.button);
        startOpen();
        session->onProgramThread([&] {
            get<platform::Control>("StatusLabel").setText("status");
            tool->StatusTicks = 5;
        });
        size_t mark = board.mark();
        int64_t t = now();
        click(c.button);
        EXPECT_EQ(text("WeightDisplay"), c.blank);
        EXPECT_EQ(board.commandsSince(mark), (std::vector<Command>{{t + ms(20), 9600, c.command}}))
            << "no poll at once";
        EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 200);
        session->advance(200);
        EXPECT_EQ(board.commandsSince(mark).back(), (Command{t + ms(420), 9600, "P0"}));
        EXPECT_EQ(text("StatusLabel"), "status");
        EXPECT_EQ(tool->StatusTicks, 5);
        session.reset();
    }
}

TEST_F(SettingsTest, BytesArrivingDuringTheirPausesAreHandledAfterThem) {
    startOpen();
    std::vector<int64_t> handled;
    session->onProgramThread([&] {
        auto previous = tool->BoardPort->DataArrived;
        tool->BoardPort->DataArrived = [this, &handled, previous](int b) {
            handled.push_back(machine.nowMicros);
            if (previous) previous(b);
        };
    });
    int64_t t = now();
    board.inject("xyz", t + ms(5));  // all three on the line by about 8 ms
    click("TareButton");
    EXPECT_EQ(handled, (std::vector<int64_t>{t + ms(220), t + ms(220), t + ms(220)}));
}

TEST_F(SettingsTest, InternalCodeModeWorksOnTheOffsetAndSendsNothing) {
    startOpen();
    click("InternalCodeCheck");
    size_t mark = board.mark();
    auto raw = [&](int64_t code) { session->onProgramThread([&] { tool->LastInternalCode = code; }); };

    click("TareButton");  // before any raw value
    EXPECT_EQ(tool->InternalCodeOffset, 0);
    raw(500);
    click("TareButton");
    EXPECT_EQ(tool->InternalCodeOffset, 500);
    raw(504);
    click("ZeroButton");
    EXPECT_EQ(tool->InternalCodeOffset, 504);
    click("ClearTareButton");
    EXPECT_EQ(tool->InternalCodeOffset, 0);
    EXPECT_EQ(tool->LastInternalCode, 504);

    click("TareButton");
    click("InternalCodeCheck");  // leave the mode
    click("ClearTareButton");    // normal mode: sent to the board, offset untouched
    click("InternalCodeCheck");  // and enter it again
    EXPECT_EQ(tool->InternalCodeOffset, 504);
    EXPECT_EQ(tool->LastInternalCode, 504);

    EXPECT_EQ(nonPollCommandsSince(mark), std::vector<std::string>{"Q7"});
    session->advance(400);
    EXPECT_EQ(board.commandsSince(mark).back().text, "N5");
}

TEST_F(SettingsTest, InternalCodeModeKeepsTheWeightDisplay) {
    startOpen();
    click("InternalCodeCheck");
    session->onProgramThread([&] { get<platform::Edit>("WeightDisplay").setText("123"); });
    for (const WeighingCase& c : WeighingCases) {
        click(c.button);
        EXPECT_EQ(text("WeightDisplay"), "123") << c.button;
    }
}

TEST_F(SettingsTest, SwitchingInternalCodeModeRestartsMinimumAndMaximum) {
    startOpen();
    for (int i = 0; i < 2; ++i) {  // on, then off
        session->onProgramThread([&] {
            tool->MinWeight = 1.5f;
            tool->MaxWeight = 2.5f;
            tool->InternalCodeOffset = 7;
            tool->LastInternalCode = 9;
            get<platform::Label>("MinLabel").setText("最小值：1.5");
        });
        click("InternalCodeCheck");
        EXPECT_EQ(tool->MinWeight, 999999.0f);
        EXPECT_EQ(tool->MaxWeight, -999999.0f);
        EXPECT_EQ(tool->InternalCodeOffset, 7);
        EXPECT_EQ(tool->LastInternalCode, 9);
        EXPECT_EQ(text("MinLabel"), "最小值：1.5");
    }
}

}  // namespace
