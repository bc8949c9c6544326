// A boardtool run on the headless platform.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <cstdlib>

#include "headless/controls.h"
#include "headless/loader_host.h"
#include "headless/session.h"
#include "link/board_tool.h"

// The tests of the tool run against boardtool and, with BOARDTOOL_PROGRAM set
// to "shared", against boardtool-shared: the same tool reached through the
// loader and the run-time library.
inline bool SharedProgram() {
    const char* v = std::getenv("BOARDTOOL_PROGRAM");
    return v && std::string(v) == "shared";
}

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
        if (!SharedProgram()) return session->start(boardtool::BoardToolMain);
        machine.registerLibrary(machine.runDirectory + "\\" + platform::RuntimeLibraryName,
                                {{platform::RuntimeEntryName,
                                  reinterpret_cast<void*>(&headless::HeadlessRuntimeEntry)}});
        headless::Session* s = session.get();
        headless::Machine* m = &machine;
        session->start([s, m](platform::Services&) {
            headless::MachineLoaderHost host(*m, *s);
            return platform::RunOnRuntime(host, boardtool::BoardToolMain, s);
        });
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
