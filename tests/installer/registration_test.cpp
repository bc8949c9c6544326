// Registration after the copying: setup.dll, the program menu, the
// uninstaller, uninstall.ini and the system's uninstall entry; then the
// finish page and the Finish button.
#include "installer_harness.h"

using namespace platform;
using namespace testpkg;

namespace {

const std::string I = "D:\\Apps\\Demo\\";
const std::string Record = I + "uninstall.ini";
const std::string P = "C:\\Users\\user\\Programs\\";
const std::string UninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo";

struct Registering : InstallerRun {
    void SetUp() override {
        InstallerRun::SetUp();
        machine.writeFile("C:\\Work\\uninstall.exe", "UNINSTALLER");
        machine.setString(Hive::CurrentUser,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                          "Programs", "C:\\Users\\user\\Programs");
        machine.makeFolders("C:\\Users\\user\\Programs\\App");
    }
    static Package allOn(int32_t version) {
        Package p;
        p.version = version;
        p.license = p.readme = "";
        p.uninstallerOn = p.menuShortcutsOn = p.desktopShortcutOn = 1;
        p.programShortcutOn = 1;
        p.files = {{2, "app.exe", "", "EXE"}, {0, "data.txt", "", "DATA"}};
        p.tree = {{0, 0, "bin", ""}};
        return p;
    }
    std::string lm(const std::string& value) {
        auto v = machine.value(Hive::LocalMachine, UninstallKey, value);
        return v ? (v->dword ? "dword " + std::to_string(v->number) : v->text) : "<missing>";
    }
    std::vector<std::string> shortcuts() {
        std::vector<std::string> all;
        for (const auto& s : machine.shortcuts) all.push_back(s.link + " -> " + s.target);
        return all;
    }
    std::vector<std::string> commandLines() {
        std::vector<std::string> all;
        for (const auto& s : machine.started) all.push_back(s.commandLine);
        return all;
    }
    std::vector<std::string> installedTail() {
        return {I + "app.exe",       I + "data.txt", I + "uninstall.exe",
                I + "uninstall.ini", I + "bin",      "D:\\Apps\\Demo"};
    }
};

TEST_F(Registering, VersionTwoLeavesTheMenuToSetupLibrary) {
    start(allOn(2));
    install("D:\\Apps\\Demo");
    EXPECT_EQ(SetupDll().calls,
              std::vector<std::string>{"reg(Demo,D:\\Apps\\Demo\\,D:\\Apps\\Demo\\app.exe,1,1,1)"});
    EXPECT_TRUE(shortcuts().empty());
    EXPECT_TRUE(commandLines().empty());
    EXPECT_TRUE(profileKeys(Record, "Info").empty());
    EXPECT_EQ(uninstallEntries(I), installedTail());
    EXPECT_EQ(profile(Record, "unreg", "1"), UninstallKey);
    EXPECT_EQ(machine.readFile(I + "uninstall.exe"), "UNINSTALLER");
    EXPECT_FALSE(machine.fileExists("C:\\Work\\uninstall.exe"));
    EXPECT_EQ(lm("DisplayIcon"), I + "app.exe,-0");
    EXPECT_EQ(lm("DisplayName"), "Demo");
    EXPECT_EQ(lm("UninstallString"), I + "uninstall.exe");
    EXPECT_EQ(lm("InstallLocation"), "D:\\Apps\\Demo");
    EXPECT_EQ(lm("EstimatedSize"), "dword 1");
}

TEST_F(Registering, VersionFourMakesTheMenuEntriesItself) {
    Package p = allOn(4);
    p.menu = {{"App", "App", 0}, {"App\\App", "app.exe", 1}};
    start(p);
    install("D:\\Apps\\Demo");
    EXPECT_EQ(SetupDll().calls,
              std::vector<std::string>{"reg(Demo,D:\\Apps\\Demo\\,D:\\Apps\\Demo\\app.exe,0,1,0)"});
    EXPECT_TRUE(machine.folderExists(P + "App"));
    std::vector<std::string> links = {P + "App\\App.lnk -> " + I + "app.exe",
                                      P + "App\\Demo.lnk -> " + I + "app.exe",
                                      P + "App\\uninstall.lnk -> " + I + "uninstall.exe"};
    EXPECT_EQ(shortcuts(), links);
    std::vector<std::string> entries = {P + "App\\Demo.lnk", P + "App\\App.lnk", P + "App",
                                        P + "App\\uninstall.lnk", P + "App"};
    for (const std::string& e : installedTail()) entries.push_back(e);
    EXPECT_EQ(uninstallEntries(I), entries);
    EXPECT_EQ(profileKeys(Record, "Info"),
              (std::vector<std::string>{"title", "InstallDir", "LinkFileName"}));
    EXPECT_EQ(profile(Record, "Info", "title"), "Demo");
    EXPECT_EQ(profile(Record, "Info", "InstallDir"), "D:\\Apps\\Demo");
    EXPECT_EQ(profile(Record, "Info", "LinkFileName"), "C:\\Users\\user\\Desktop\\Demo.lnk");
    EXPECT_EQ(commandLines(), std::vector<std::string>{"explorer.exe \"" + P + "App\""});
    EXPECT_EQ(profile(Record, "unreg", "1"), UninstallKey);
    EXPECT_EQ(lm("UninstallString"), I + "uninstall.exe");
    EXPECT_EQ(machine.readFile(I + "uninstall.exe"), "UNINSTALLER");
}

TEST_F(Registering, RegFlagsByCase) {
    struct Case {
        const char* name;
        int32_t version, menuOn, programOn;
        bool entries;
        const char* flags;
    } cases[] = {
        {"version 4, no entries, both", 4, 1, 1, false, ",1,0,1)"},
        // Version 3 has no program-shortcut switch: it reads as off.
        {"version 3, no entries, both", 3, 1, 1, false, ",0,0,1)"},
        {"version 4, no entries, menu only", 4, 1, 0, false, ",0,0,1)"},
        {"version 4, entries, menu off", 4, 0, 1, true, ",0,0,1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Package p = allOn(c.version);
        p.desktopShortcutOn = 0;
        p.menuShortcutsOn = c.menuOn;
        p.programShortcutOn = c.programOn;
        if (c.entries) p.menu = {{"App", "App", 0}};
        start(p);
        install("D:\\Apps\\Demo");
        ASSERT_EQ(SetupDll().calls.size(), 1u);
        EXPECT_EQ(SetupDll().calls[0], std::string("reg(Demo,D:\\Apps\\Demo\\,D:\\Apps\\Demo\\app.exe") + c.flags);
        EXPECT_TRUE(shortcuts().empty());
        EXPECT_TRUE(commandLines().empty());
    }
}

TEST_F(Registering, UninstallMarkerEntryWithoutUninstaller) {
    Package p = allOn(4);
    p.uninstallerOn = p.programShortcutOn = p.desktopShortcutOn = 0;
    p.menu = {{"App", "App", 0}, {"App\\ 卸载文件 ", "", 1}};
    start(p);
    install("D:\\Apps\\Demo");
    EXPECT_EQ(shortcuts(),
              std::vector<std::string>{P + "App\\uninstall.lnk -> " + I + "uninstall.exe"});
    std::vector<std::string> entries = {P + "App\\uninstall.lnk", P + "App",
                                        P + "App\\ 卸载文件 .lnk", P + "App"};
    for (const std::string& e : installedTail()) entries.push_back(e);
    EXPECT_EQ(uninstallEntries(I), entries);
    EXPECT_EQ(profile(Record, "Info", "title"), "Demo");
    EXPECT_EQ(machine.readFile(I + "uninstall.exe"), "UNINSTALLER");
    EXPECT_TRUE(profileKeys(Record, "unreg").empty());
    EXPECT_FALSE(machine.keyExists(Hive::LocalMachine, UninstallKey));
}

TEST_F(Registering, MarkerEntryWithUninstallerIsAnOrdinaryShortcut) {
    Package p = allOn(4);
    p.programShortcutOn = p.desktopShortcutOn = 0;
    p.menu = {{"App", "App", 0}, {"App\\ 卸载文件 ", "data.txt", 1}};
    start(p);
    install("D:\\Apps\\Demo");
    std::vector<std::string> links = {P + "App\\ 卸载文件 .lnk -> " + I + "data.txt",
                                      P + "App\\uninstall.lnk -> " + I + "uninstall.exe"};
    EXPECT_EQ(shortcuts(), links);
    EXPECT_EQ(profile(Record, "unreg", "1"), UninstallKey);
}

TEST_F(Registering, MarkerWithoutSeparatorMakesItsOwnFolderAndUpperCaseLinkKeepsItsExtension) {
    Package p = allOn(4);
    p.uninstallerOn = p.programShortcutOn = p.desktopShortcutOn = 0;
    p.menu = {{"Tools\\Run.LNK", "app.exe", 1}, {" 卸载文件 ", "", 1}};
    machine.makeFolders(P + "Tools");
    machine.makeFolders(P + " 卸载文件 ");
    start(p);
    install("D:\\Apps\\Demo");
    std::vector<std::string> links = {P + "Tools\\Run.LNK -> " + I + "app.exe",
                                      P + " 卸载文件 \\uninstall.lnk -> " + I + "uninstall.exe"};
    EXPECT_EQ(shortcuts(), links);
    EXPECT_EQ(commandLines(), std::vector<std::string>{"explorer.exe \"" + P + "\""});
}

TEST_F(Registering, NoMainProgram) {
    Package p = allOn(4);
    p.desktopShortcutOn = 0;
    p.files = {{0, "data.txt", "", "DATA"}};
    p.menu = {{"App", "App", 0}};
    start(p);
    install("D:\\Apps\\Demo");
    EXPECT_EQ(SetupDll().calls, std::vector<std::string>{"reg(Demo,D:\\Apps\\Demo\\,null,0,0,0)"});
    EXPECT_EQ(lm("DisplayIcon"), ",-0");
    ASSERT_FALSE(shortcuts().empty());
    EXPECT_EQ(shortcuts()[0], P + "App\\Demo.lnk -> ");
}

TEST_F(Registering, ComponentsAreRegisteredRightAfterTheyAreWritten) {
    Package p = allOn(2);
    p.uninstallerOn = 0;
    p.files = {{6, "a.ocx", "Key1#extra", "A"}, {6, "b.ocx", "", "B"},
               {6, "c.ocx", "#only", "C"},      {6, "d.ocx", "refuse", "D"},
               {0, "e.ocx", "Key5", "E"}};
    start(p);
    install("D:\\Apps\\Demo");
    std::vector<std::string> calls = {"regocx(" + I + "a.ocx,Key1#extra)", "regocx(" + I + "c.ocx,#only)",
                                      "regocx(" + I + "d.ocx,refuse)",
                                      "reg(Demo,D:\\Apps\\Demo\\,null,1,1,0)"};
    EXPECT_EQ(SetupDll().calls, calls);
    EXPECT_EQ(profileKeys(Record, "ocx"), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(profile(Record, "ocx", "1"), "Key1");
    EXPECT_EQ(profile(Record, "ocx", "3"), "");
}

TEST_F(Registering, MissingUninstallerEndsTheInstallerBeforeTheRecords) {
    machine.lock("C:\\Work\\uninstall.exe");
    start(allOn(2));
    install("D:\\Apps\\Demo");
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->text, "Copy“D:\\Apps\\Demo\\uninstall.exe”file failure!");
    session->answer(Answer::Ok);
    EXPECT_EQ(session->exitCode(), 1);
    EXPECT_TRUE(profileKeys(Record, "uninstall").empty());
    EXPECT_FALSE(machine.keyExists(Hive::LocalMachine, UninstallKey));
}

TEST_F(Registering, RegistryWritesThatFailAreIgnored) {
    machine.denyLocalMachineWrites = true;
    start(allOn(2));
    install("D:\\Apps\\Demo");
    EXPECT_EQ(page(), 6);
    EXPECT_FALSE(machine.keyExists(Hive::LocalMachine, UninstallKey));
}

struct Finishing : Registering {
    void finishWith(int32_t runAfter, bool tick, bool mainProgram,
                    const std::string& folder = "C:\\Program Files\\My App") {
        Package p = allOn(2);
        p.uninstallerOn = 0;
        p.runAfterOn = runAfter;
        if (!mainProgram) p.files = {{0, "data.txt", "", "DATA"}};
        machine.makeFolders("C:\\Program Files");
        start(p);
        install(folder);
        ASSERT_EQ(page(), 6);
        EXPECT_EQ(text("CancelButton"), "Finish(&F)");
        EXPECT_EQ(title(), "Setup finish!");
        EXPECT_FALSE(wizard().find("BackButton")->visible());
        EXPECT_FALSE(wizard().find("NextButton")->visible());
        EXPECT_EQ(wizard().find("RunAfterCheck")->visible(), runAfter != 0);
        if (tick) session->click(Wizard, "RunAfterCheck");
        session->click(Wizard, "CancelButton");
        EXPECT_FALSE(session->running());
        EXPECT_EQ(session->exitCode(), 0);
        EXPECT_FALSE(machine.fileExists(PackagePath));
    }
};

TEST_F(Finishing, TickedFinishStartsTheMainProgramFromTheInstallationFolder) {
    finishWith(1, true, true);
    EXPECT_TRUE(session->boxes().empty());
    ASSERT_EQ(machine.started.size(), 1u);
    EXPECT_EQ(machine.started[0].commandLine, "C:\\Program Files\\My App\\app.exe");
    EXPECT_EQ(machine.started[0].currentDirectory, "C:\\Program Files\\My App");
}

TEST_F(Finishing, NothingIsStartedUnlessTickedWithAMainProgram) {
    finishWith(1, false, true);
    EXPECT_TRUE(machine.started.empty());
    SetUp();
    finishWith(0, false, true);
    EXPECT_TRUE(machine.started.empty());
    SetUp();
    finishWith(1, true, false);
    EXPECT_TRUE(machine.started.empty());
}

TEST_F(Finishing, CloseBoxAfterSetupEndsWithoutQuestionOrStart) {
    Package p = allOn(2);
    p.uninstallerOn = 0;
    p.runAfterOn = 1;
    start(p);
    install("D:\\Apps\\Demo");
    session->click(Wizard, "RunAfterCheck");
    session->closeWindow(Wizard);
    EXPECT_FALSE(session->running());
    EXPECT_TRUE(session->boxes().empty());
    EXPECT_TRUE(machine.started.empty());
    EXPECT_FALSE(machine.fileExists(PackagePath));
}

}  // namespace
