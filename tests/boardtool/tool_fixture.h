// A boardtool run on the headless platform.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "headless/controls.h"
#include "headless/session.h"
#include "link/board_tool.h"

struct ToolTest : ::testing::Test {
    headless::Machine machine;
    std::unique_ptr<headless::Session> session;

    // port.ini beside the program, one CR LF line per entry.
    void writePortIni(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& l : lines) text += l + "\r\n";
        machine.writeFile(machine.runDirectory + "\\port.ini", text);
    }
    void start() {
        session = std::make_unique<headless::Session>(machine);
        session->start(boardtool::BoardToolMain);
    }
    template <class T>
    T& get(const std::string& name) {
        return session->control<T>("MainWindow", name);
    }
    platform::ComboBox& combo(const std::string& name) { return get<platform::ComboBox>(name); }
    std::string text(const std::string& name) { return get<platform::Control>(name).text(); }
    std::vector<std::string> items(const std::string& name) {
        std::vector<std::string> out;
        auto& c = combo(name);
        for (int i = 0; i < c.count(); ++i) out.push_back(c.itemText(i));
        return out;
    }
};
