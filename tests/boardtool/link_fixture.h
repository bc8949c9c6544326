// A boardtool run with a device on its serial port: a scripted device that
// records what the tool wrote and sends exactly the bytes a test gives it.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "headless/controls.h"
#include "tool_fixture.h"

struct ScriptedDevice : headless::SerialDevice {
    headless::SerialLink* link = nullptr;
    std::vector<std::string> writes;  // one entry per write of the PC
    std::vector<int> opens;           // the rate of every open
    bool opened(headless::SerialLink& l, int baud) override {
        link = &l;
        opens.push_back(baud);
        return true;
    }
    void closed() override { link = nullptr; }
    void written(headless::SerialLink&, const std::string& bytes, int) override { writes.push_back(bytes); }
    std::string all() const {
        std::string s;
        for (const std::string& w : writes) s += w;
        return s;
    }
};

struct LinkTest : ToolTest {
    ScriptedDevice device;

    void SetUp() override { machine.attachSerial(1, &device); }
    // The session ends before the devices it may still hold go away.
    void TearDown() override { session.reset(); }

    void startAndOpen() {
        start();
        session->click("MainWindow", "OpenButton");
    }
    // The device sends these bytes now; the test lets them arrive.
    void inject(const std::string& bytes, int settleMs = 40) {
        ASSERT_NE(device.link, nullptr) << "the port is not open";
        session->onProgramThread([&] { device.link->toPc(bytes, 0); });
        session->advance(settleMs);
    }
    std::vector<std::string> logLines() {
        std::vector<std::string> lines;
        std::string t = text("DetectLog");
        size_t start = 0;
        for (size_t crlf; (crlf = t.find("\r\n", start)) != std::string::npos; start = crlf + 2)
            lines.push_back(t.substr(start, crlf - start));
        if (start < t.size()) lines.push_back(t.substr(start) + "<no CR LF>");
        return lines;
    }
    // The running tool's state; read and set it only between actions.
    boardtool::BoardTool& tool() {
        if (!boardtool::RunningTool) throw std::logic_error("boardtool is not running");
        return *boardtool::RunningTool;
    }
    platform::Color colour(const std::string& name) { return get<platform::Control>(name).textColor(); }
    int writesOf(const std::string& name) { return dynamic_cast<headless::HControl&>(get<platform::Control>(name)).textWrites; }
};

// A weight frame: sign, seven weight characters, two unit bytes, two bytes
// not read, the zero, net and stable flags, CR LF.
inline std::string WeightFrame(const std::string& signAndWeight, const std::string& unit = "kg",
                               const std::string& flags = "000") {
    return signAndWeight + unit + "  " + flags + "\r\n";
}

// A settings frame from seven positions, raw bytes as the board sends them.
inline std::string SettingsFrame(const std::vector<int>& p) {
    std::string f = "R";
    f += '\x07';
    f += static_cast<char>(p[0]);
    for (size_t i = 1; i < 7; ++i) {
        f += static_cast<char>(p[i] / 10);
        f += static_cast<char>(p[i] % 10);
    }
    return f + "\r\n";
}
