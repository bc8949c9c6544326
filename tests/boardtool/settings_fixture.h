// The tool with the scripted board on COM1, and a hand on its program-wide
// state.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "link/board_tool.h"
#include "scripted_board.h"
#include "tool_fixture.h"

struct SettingsTest : ToolTest {
    ScriptedBoard board{machine};
    boardtool::BoardTool* tool = nullptr;

    void SetUp() override {
        machine.attachSerial(1, &board);
        boardtool::OnToolCreated = [this](boardtool::BoardTool& t) { tool = &t; };
    }
    void TearDown() override {
        session.reset();  // the port closes while the board still exists
        boardtool::OnToolCreated = nullptr;
    }

    // Starts the tool and opens COM1; the open sequence and its report are
    // over when this returns.
    void startOpen() {
        start();
        click("OpenButton");
        ASSERT_EQ(text("OpenButton"), "关闭");
        session->advance(3000);
    }
    void click(const std::string& control) { session->click("MainWindow", control); }
    void pick(const std::string& combo, int index) { session->pick("MainWindow", combo, index); }
    int64_t now() const { return machine.nowMicros; }
    static int64_t ms(int64_t n) { return n * 1000; }

    // Commands after a mark, up to (not including) the n-th poll after it.
    std::vector<ScriptedBoard::Command> commandsBeforePoll(size_t from, int n = 1) const {
        std::vector<ScriptedBoard::Command> out;
        for (const auto& c : board.commandsSince(from)) {
            if ((c.text == "P0" || c.text == "N5") && --n == 0) break;
            out.push_back(c);
        }
        return out;
    }
    // Texts of all commands after a mark except the polls.
    std::vector<std::string> nonPollCommandsSince(size_t from) const {
        std::vector<std::string> out;
        for (const auto& c : board.commandsSince(from))
            if (c.text != "P0" && c.text != "N5") out.push_back(c.text);
        return out;
    }
    // Answers the open message box with OK and returns its record.
    headless::BoxRecord answerBox() {
        const headless::BoxRecord* box = session->openBox();
        if (!box) {
            ADD_FAILURE() << "no message box is open";
            return {};
        }
        headless::BoxRecord copy = *box;
        session->answer(platform::Answer::Ok);
        return copy;
    }
};

inline bool operator==(const ScriptedBoard::Command& a, const ScriptedBoard::Command& b) {
    return a.atMicros == b.atMicros && a.baud == b.baud && a.text == b.text;
}
inline std::ostream& operator<<(std::ostream& os, const ScriptedBoard::Command& c) {
    return os << '"' << c.text << "\" at " << c.atMicros / 1000.0 << " ms, " << c.baud << " bps";
}
