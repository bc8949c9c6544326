// Runs the installer on the headless platform with a package written by
// the test and a recording stand-in for setup.dll.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "front/installer.h"
#include "headless/controls.h"
#include "headless/session.h"
#include "package_writer.h"

namespace testpkg {

// What the stand-in for setup.dll was asked, one line per call.
struct SetupDllLog {
    std::vector<std::string> calls;
    int32_t regocxResult = 1;  // regocx answers 0 to the parameter "refuse"
    std::string chosenFolder;  // what ViewDir puts into the buffer
};
inline SetupDllLog& SetupDll() {
    static SetupDllLog log;
    return log;
}

inline int32_t PLATFORM_STDCALL FakeViewDir(void*, const char* prompt, char* buffer) {
    SetupDll().calls.push_back(std::string("ViewDir(") + prompt + "," +
                               std::to_string(std::string(buffer).size()) + ")");
    std::string chosen = SetupDll().chosenFolder;
    for (size_t i = 0; i <= chosen.size(); ++i) buffer[i] = i < chosen.size() ? chosen[i] : '\0';
    return 1;
}
inline int32_t PLATFORM_STDCALL FakeReg(const char* name, const char* folder, const char* main,
                                        int32_t menu, int32_t desktop, int32_t uninstall) {
    SetupDll().calls.push_back(std::string("reg(") + name + "," + folder + "," +
                               (main ? main : "null") + "," + std::to_string(menu) + "," +
                               std::to_string(desktop) + "," + std::to_string(uninstall) + ")");
    return 1;
}
inline int32_t PLATFORM_STDCALL FakeRegOcx(const char* file, const char* param) {
    SetupDll().calls.push_back(std::string("regocx(") + file + "," + param + ")");
    return std::string(param) == "refuse" ? 0 : SetupDll().regocxResult;
}

constexpr const char* PackagePath = "C:\\Work\\setup.pkg";
constexpr const char* Wizard = "WizardWindow";
constexpr const char* Background = "BackgroundWindow";

class InstallerRun : public ::testing::Test {
protected:
    headless::Machine machine;
    std::unique_ptr<headless::Session> session;

    void SetUp() override {
        SetupDll() = SetupDllLog{};
        machine.arguments = {PackagePath};
        machine.makeFolders("C:\\Work");
        machine.makeFolders("D:\\Apps");
        machine.writeFile("C:\\Tool\\setup.dll", "stand-in");
        machine.registerLibrary("C:\\Tool\\setup.dll",
                                {{"ViewDir", reinterpret_cast<void*>(&FakeViewDir)},
                                 {"reg", reinterpret_cast<void*>(&FakeReg)},
                                 {"regocx", reinterpret_cast<void*>(&FakeRegOcx)}});
        session = std::make_unique<headless::Session>(machine);
    }

    void start(const Package& p) { startBytes(p.bytes()); }
    void startBytes(const std::string& bytes) {
        machine.writeFile(PackagePath, bytes);
        session->start(installer::InstallerMain);
    }

    platform::Window& wizard() { return session->mustWindow(Wizard); }
    int page() { return session->control<platform::TabControl>(Wizard, "PageTabs").page(); }
    std::string text(const std::string& control) {
        return session->mustWindow(Wizard).find(control)->text();
    }
    // The title last drawn on the wizard's banner.
    std::string title() {
        auto& banner = dynamic_cast<headless::HCanvas&>(wizard().get<platform::Canvas>("BannerCanvas"));
        return banner.drawn.empty() ? "" : banner.drawn.back().text;
    }
    void next() { session->click(Wizard, "NextButton"); }
    void back() { session->click(Wizard, "BackButton"); }
    void accept() { session->click(Wizard, "AcceptRadio"); }
    // To the "Setup path" page from any earlier or later one, accepting the licence.
    void toPathPage() {
        while (page() > 3) back();
        while (page() < 3) {
            if (page() == 1) accept();
            next();
        }
    }
    // Types the folder and presses Next on "Prepare".
    void install(const std::string& folder) {
        toPathPage();
        session->paste(Wizard, "PathEdit", folder);
        next();
        next();
    }
    const headless::BoxRecord* box() { return session->openBox(); }
    std::vector<std::string> profileKeys(const std::string& file, const std::string& section) {
        return session->services().registry().profileKeys(file, section);
    }
    std::string profile(const std::string& file, const std::string& section,
                        const std::string& key) {
        return session->services().registry().readProfileString(file, section, key).value_or(
            "<missing>");
    }
    // The "uninstall" values in key order, with a check that the keys run 1, 2, 3...
    std::vector<std::string> uninstallEntries(const std::string& folder) {
        std::string file = folder + "uninstall.ini";
        std::vector<std::string> keys = profileKeys(file, "uninstall"), values;
        for (size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(keys[i], std::to_string(i + 1));
            values.push_back(profile(file, "uninstall", keys[i]));
        }
        return values;
    }
};

}  // namespace testpkg
