// reg of setup.dll: which shortcuts it makes, what it records, and the
// component entries regocx and the uninstaller call.
#include <gtest/gtest.h>

#include "components.h"
#include "headless/session.h"
#include "platform_reg.h"
#include "reg_plan.h"

using namespace setupdll;

namespace {

const char* const Main = "C:\\Apps\\Demo\\demo.exe";

struct PlanCase {
    const char* what;
    RegRequest request;
    ShellPlaces places;
    Text menuFolder;
    std::vector<Shortcut> shortcuts;
};

TEST(SetupReg, PlansTheShortcutsTheFlagsAskFor) {
    const ShellPlaces both{"C:\\Menu\\Programs", "C:\\Users\\u\\Desktop\\"};
    const PlanCase cases[] = {
        {"all flags",
         {"Demo", "C:\\Apps\\Demo\\", Main, 1, 1, 1},
         both,
         "C:\\Menu\\Programs\\Demo",
         {{"C:\\Menu\\Programs\\Demo\\Demo.lnk", Main},
          {"C:\\Menu\\Programs\\Demo\\uninstall.lnk", "C:\\Apps\\Demo\\uninstall.exe"},
          {"C:\\Users\\u\\Desktop\\Demo.lnk", Main}}},
        {"no flags", {"Demo", "C:\\Apps\\Demo\\", Main, 0, 0, 0}, both, "", {}},
        {"uninstall flag alone makes no menu", {"Demo", "C:\\Apps\\Demo\\", Main, 0, 0, 1}, both, "", {}},
        {"no main program: only the uninstall shortcut",
         {"Demo", "C:\\Apps\\Demo", std::nullopt, 1, 1, 1},
         both,
         "C:\\Menu\\Programs\\Demo",
         {{"C:\\Menu\\Programs\\Demo\\uninstall.lnk", "C:\\Apps\\Demo\\uninstall.exe"}}},
        {"empty main program counts as none",
         {"Demo", "C:\\Apps\\Demo\\", Text(), 1, 1, 0},
         both,
         "C:\\Menu\\Programs\\Demo",
         {}},
        {"Programs folder unknown: desktop only",
         {"Demo", "C:\\Apps\\Demo\\", Main, 1, 1, 1},
         {"", "D:\\Desk"},
         "",
         {{"D:\\Desk\\Demo.lnk", Main}}},
        {"names are the trimmed product name",
         {"  称重 Demo　", "C:\\Apps\\Demo\\", Main, 1, 1, 0},
         both,
         "C:\\Menu\\Programs\\称重 Demo",
         {{"C:\\Menu\\Programs\\称重 Demo\\称重 Demo.lnk", Main}, {"C:\\Users\\u\\Desktop\\称重 Demo.lnk", Main}}},
        {"empty product name: nothing", {"  ", "C:\\Apps\\Demo\\", Main, 1, 1, 1}, both, "", {}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        RegPlan plan = PlanReg(c.request, c.places);
        EXPECT_EQ(plan.menuFolder, c.menuFolder);
        EXPECT_EQ(plan.shortcuts, c.shortcuts);
    }
}

class SetupRegOnMachine : public ::testing::Test {
protected:
    void SetUp() override {
        machine.setString(platform::Hive::CurrentUser,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs",
                          "C:\\Start\\Programs");
        machine.makeFolders("C:\\Start\\Programs");
        machine.makeFolders(machine.desktopFolder);
        machine.writeFile("C:\\Apps\\Demo\\demo.exe", "MZ");
    }
    std::vector<std::pair<Text, Text>> record() {
        std::vector<std::pair<Text, Text>> values;
        auto& r = session.services().registry();
        for (const Text& k : r.profileKeys("C:\\Apps\\Demo\\uninstall.ini", RegSection))
            values.emplace_back(k, r.readProfileString("C:\\Apps\\Demo\\uninstall.ini", RegSection, k).value_or("?"));
        return values;
    }
    headless::Machine machine;
    headless::Session session{machine};
};

TEST_F(SetupRegOnMachine, MakesTheShortcutsAndRecordsThemShortcutsBeforeTheFolder) {
    Reg(session.services(), {"Demo", "C:\\Apps\\Demo\\", Main, 1, 1, 1});

    EXPECT_TRUE(machine.folderExists("C:\\Start\\Programs\\Demo"));
    ASSERT_EQ(machine.shortcuts.size(), 3u);
    EXPECT_EQ(machine.shortcuts[0].link, "C:\\Start\\Programs\\Demo\\Demo.lnk");
    EXPECT_EQ(machine.shortcuts[0].target, Main);
    EXPECT_EQ(machine.shortcuts[1].link, "C:\\Start\\Programs\\Demo\\uninstall.lnk");
    EXPECT_EQ(machine.shortcuts[1].target, "C:\\Apps\\Demo\\uninstall.exe");
    // The installer records the desktop shortcut as desktop + ProductName + ".lnk".
    EXPECT_EQ(machine.shortcuts[2].link, machine.desktopFolder + "\\Demo.lnk");
    EXPECT_TRUE(machine.fileExists(machine.desktopFolder + "\\Demo.lnk"));

    using Row = std::pair<Text, Text>;
    EXPECT_EQ(record(), (std::vector<Row>{{"1", "C:\\Start\\Programs\\Demo\\Demo.lnk"},
                                          {"2", "C:\\Start\\Programs\\Demo\\uninstall.lnk"},
                                          {"3", machine.desktopFolder + "\\Demo.lnk"},
                                          {"4", "C:\\Start\\Programs\\Demo"}}));
}

TEST_F(SetupRegOnMachine, RecordsOnlyWhatItCouldMake) {
    machine.desktopFolder = "C:\\NoSuchDesktop";
    machine.failCreate = [](const Text& path) { return path.find("uninstall.lnk") != Text::npos; };
    Reg(session.services(), {"Demo", "C:\\Apps\\Demo\\", Main, 1, 1, 1});

    ASSERT_EQ(machine.shortcuts.size(), 1u);
    using Row = std::pair<Text, Text>;
    EXPECT_EQ(record(), (std::vector<Row>{{"1", "C:\\Start\\Programs\\Demo\\Demo.lnk"}, {"2", "C:\\Start\\Programs\\Demo"}}));
}

TEST_F(SetupRegOnMachine, AMenuFolderThatCannotBeMadeGetsNoShortcuts) {
    machine.setString(platform::Hive::CurrentUser,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs",
                      "C:\\Missing\\Programs");
    Reg(session.services(), {"Demo", "C:\\Apps\\Demo\\", Main, 1, 1, 0});

    ASSERT_EQ(machine.shortcuts.size(), 1u);
    EXPECT_EQ(machine.shortcuts[0].link, machine.desktopFolder + "\\Demo.lnk");
    using Row = std::pair<Text, Text>;
    EXPECT_EQ(record(), (std::vector<Row>{{"1", machine.desktopFolder + "\\Demo.lnk"}}));
}

int registerCalls = 0;
int32_t PLATFORM_STDCALL Succeeds() { ++registerCalls; return 0; }
int32_t PLATFORM_STDCALL Refuses() { ++registerCalls; return static_cast<int32_t>(0x80004005u); }

TEST_F(SetupRegOnMachine, ComponentEntries) {
    machine.registerLibrary("C:\\Apps\\Demo\\good.ocx", {{"DllRegisterServer", reinterpret_cast<void*>(&Succeeds)}});
    machine.registerLibrary("C:\\Apps\\Demo\\bad.ocx", {{"DllRegisterServer", reinterpret_cast<void*>(&Refuses)}});
    machine.registerLibrary("C:\\Apps\\Demo\\plain.dll", {});
    machine.writeFile("C:\\Apps\\Demo\\data.ocx", "not a library");
    struct Case {
        const char* path;
        ServerCall result;
        int calls;
    };
    const Case cases[] = {
        {"C:\\Apps\\Demo\\good.ocx", ServerCall::Done, 1},
        {"C:\\Apps\\Demo\\bad.ocx", ServerCall::Failed, 1},
        {"C:\\Apps\\Demo\\plain.dll", ServerCall::NoEntry, 0},
        {"C:\\Apps\\Demo\\data.ocx", ServerCall::NotLoaded, 0},
        {"", ServerCall::NotLoaded, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        registerCalls = 0;
        EXPECT_EQ(CallServerEntry(session.services().libraries(), c.path, "DllRegisterServer"), c.result);
        EXPECT_EQ(registerCalls, c.calls);
    }
}

}  // namespace
