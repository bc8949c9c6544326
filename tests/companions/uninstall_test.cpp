// uninstall.exe against the sandbox: a product installed with menu
// entries, a component, a folder tree and the system's uninstall entry.
#include <filesystem>

#include <gtest/gtest.h>

#include "headless/session.h"
#include "uninstall_main.h"

using platform::Answer;
using platform::Hive;
using platform::Icon;
using platform::Text;

namespace {

const Text I = "C:\\Program Files\\Demo";
const Text P = "C:\\Menu\\Programs";
const Text Key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo";

int unregisterCalls = 0;
int otherCalls = 0;
int32_t PLATFORM_STDCALL Unregisters() { ++unregisterCalls; return 0; }
int32_t PLATFORM_STDCALL Other() { ++otherCalls; return 0; }

class Uninstall : public ::testing::Test {
protected:
    void SetUp() override {
        unregisterCalls = otherCalls = 0;
        m.runDirectory = I;
        m.programFile = "uninstall.exe";
        m.currentDirectory = I;
        for (const char* f : {"demo.exe", "docs\\a.txt", "docs\\deep\\b.txt", "uninstall.exe"})
            m.writeFile(I + "\\" + f, "x");
        m.writeFile(m.windowsDirectory + "\\system32\\cmd.exe", "MZ");
        m.registerLibrary(I + "\\gauge.ocx", {{"DllUnregisterServer", reinterpret_cast<void*>(&Unregisters)}});
        m.registerLibrary(I + "\\demo.exe", {{"DllUnregisterServer", reinterpret_cast<void*>(&Other)}});
        for (const char* f : {"Demo.lnk", "Settings.lnk", "uninstall.lnk"}) m.writeFile(P + "\\Demo\\" + f, "lnk");
        m.writeFile(m.desktopFolder + "\\Demo.lnk", "lnk");
        m.setString(Hive::LocalMachine, Key, "DisplayName", "Demo");
        m.setString(Hive::LocalMachine, Key, "UninstallString", I + "\\uninstall.exe");
    }

    // The record as the installer writes it, one value at a time.
    void write(const Text& section, const Text& key, const Text& value) {
        session.services().registry().writeProfileString(I + "\\uninstall.ini", section, key, value);
    }
    void writeFullRecord() {
        write("ocx", "2", "DemoGauge");
        write("Info", "title", "Demo");
        write("Info", "InstallDir", I);
        write("Info", "LinkFileName", m.desktopFolder + "\\Demo.lnk");
        const Text entries[] = {
            P + "\\Demo\\Demo.lnk", P + "\\Demo\\Settings.lnk", P + "\\Demo",  P + "\\Demo\\uninstall.lnk",
            P + "\\Demo",           I + "\\demo.exe",           I + "\\gauge.ocx", I + "\\docs\\a.txt",
            I + "\\docs\\deep\\b.txt", I + "\\uninstall.exe",   I + "\\uninstall.ini", I + "\\docs\\deep",
            I + "\\docs",           I,
        };
        int k = 0;
        for (const Text& e : entries) write("uninstall", std::to_string(++k), e);
        write("unreg", "1", Key);
    }
    void run(Answer confirm) {
        session.queueAnswer(confirm);
        session.queueAnswer(Answer::Ok);
        session.start(uninstall::UninstallMain);
        ASSERT_FALSE(session.running());
    }
    const Text& lastBox() { return session.boxes().back().text; }
    void removeFile(const Text& path) { std::filesystem::remove(m.hostPath(path)); }

    headless::Machine m;
    headless::Session session{m};
};

TEST_F(Uninstall, RemovesEverythingAndLeavesItsOwnFilesToACommandThatRunsAfterIt) {
    writeFullRecord();
    run(Answer::Yes);

    ASSERT_EQ(session.boxes().size(), 2u);
    const headless::BoxRecord& ask = session.boxes()[0];
    EXPECT_EQ(ask.text, "Do you want to remove “Demo” and all of its components from this computer？");
    EXPECT_EQ(ask.caption, "Uninstall");
    EXPECT_EQ(ask.icon, Icon::Question);
    EXPECT_EQ(ask.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(ask.defaultButton, 1);

    EXPECT_EQ(unregisterCalls, 1);
    EXPECT_EQ(otherCalls, 0) << "record 2 is gauge.ocx, not demo.exe";
    for (const Text& gone : {P + "\\Demo", m.desktopFolder + "\\Demo.lnk", I + "\\demo.exe", I + "\\gauge.ocx",
                             I + "\\docs"})
        EXPECT_FALSE(m.fileExists(gone) || m.folderExists(gone)) << gone;
    EXPECT_FALSE(m.keyExists(Hive::LocalMachine, Key));

    ASSERT_EQ(m.started.size(), 1u);
    EXPECT_EQ(m.started[0].commandLine,
              "\"C:\\WINDOWS\\system32\\cmd.exe\" /s /c \"ping -n 3 127.0.0.1 >nul & del /f /q \"" + I + "\\uninstall.exe\" & del /f /q \"" + I +
                  "\\uninstall.ini\" & rd \"" + I + "\"\"");
    EXPECT_EQ(m.started[0].currentDirectory, m.windowsDirectory);
    EXPECT_TRUE(m.fileExists(I + "\\uninstall.exe"));

    EXPECT_EQ(lastBox(), "“Demo” has been removed from this computer.");
    EXPECT_EQ(session.boxes().back().icon, Icon::Information);
    EXPECT_EQ(session.exitCode(), 0);
}

TEST_F(Uninstall, AnsweringNoRemovesNothing) {
    writeFullRecord();
    session.queueAnswer(Answer::No);
    session.start(uninstall::UninstallMain);
    EXPECT_EQ(session.boxes().size(), 1u);
    EXPECT_EQ(session.exitCode(), 2);
    EXPECT_EQ(unregisterCalls, 0);
    EXPECT_TRUE(m.fileExists(I + "\\demo.exe"));
    EXPECT_TRUE(m.fileExists(P + "\\Demo\\Demo.lnk"));
    EXPECT_TRUE(m.keyExists(Hive::LocalMachine, Key));
    EXPECT_TRUE(m.started.empty());
}

TEST_F(Uninstall, EntriesGoInNumberOrderNotInFileOrder) {
    m.writeFile(I + "\\x\\f.txt", "x");
    removeFile(P + "\\Demo\\Settings.lnk");
    removeFile(P + "\\Demo\\uninstall.lnk");
    write("Info", "title", "Demo");
    // In file order each folder comes before its file; as numbers after
    // it. "10" comes after "9" as a number, before it as a text.
    write("uninstall", "10", I + "\\x");
    write("uninstall", "2", P + "\\Demo");
    write("uninstall", "1", P + "\\Demo\\Demo.lnk");
    write("uninstall", "9", I + "\\x\\f.txt");
    run(Answer::Yes);
    EXPECT_FALSE(m.folderExists(P + "\\Demo"));
    EXPECT_FALSE(m.folderExists(I + "\\x"));
    EXPECT_EQ(lastBox(), "“Demo” has been removed from this computer.");
}

TEST_F(Uninstall, FoldersGoOnlyWhenEmptyAndTheReportNamesWhatStayed) {
    writeFullRecord();
    m.writeFile(I + "\\docs\\my notes.txt", "the user's own file");
    m.lock(I + "\\demo.exe");  // the program is still running
    m.denyLocalMachineWrites = true;
    run(Answer::Yes);

    EXPECT_TRUE(m.fileExists(I + "\\docs\\my notes.txt"));
    EXPECT_FALSE(m.folderExists(I + "\\docs\\deep"));
    EXPECT_TRUE(m.keyExists(Hive::LocalMachine, Key));
    EXPECT_EQ(session.boxes().size(), 2u);
    EXPECT_EQ(session.boxes().back().icon, Icon::Warning);
    EXPECT_EQ(lastBox(), "“Demo” has been removed, except for the following, which could not be removed:\r\n"
                         "\r\n" + I + "\\demo.exe"
                         "\r\n" + I + "\\docs"
                         "\r\n" + I +
                         "\r\nregistry key HKEY_LOCAL_MACHINE\\" + Key);
    // The folder holds more than the uninstaller's own files: only those go later.
    ASSERT_EQ(m.started.size(), 1u);
    EXPECT_EQ(m.started[0].commandLine.find("rd "), Text::npos);
    EXPECT_EQ(session.exitCode(), 1);
}

TEST_F(Uninstall, WhenTheLaterCommandCannotStartItsFilesAreReported) {
    writeFullRecord();
    m.startRule = [](const headless::StartedProcess&) { return false; };
    run(Answer::Yes);
    EXPECT_EQ(lastBox(), "“Demo” has been removed, except for the following, which could not be removed:\r\n"
                         "\r\n" + I + "\\uninstall.exe"
                         "\r\n" + I + "\\uninstall.ini"
                         "\r\n" + I);
}

TEST_F(Uninstall, AComponentThatCannotBeUnregisteredIsReported) {
    write("Info", "title", "Demo");
    write("ocx", "1", "Plain");
    write("ocx", "3", "Beyond");
    m.registerLibrary(I + "\\plain.ocx", {});
    write("uninstall", "1", I + "\\plain.ocx");
    write("uninstall", "2", I + "\\uninstall.exe");
    run(Answer::Yes);
    EXPECT_FALSE(m.fileExists(I + "\\plain.ocx")) << "the file goes even so";
    EXPECT_EQ(lastBox(), "“Demo” has been removed, except for the following, which could not be removed:\r\n"
                         "\r\ncomponent “Plain” (" + I + "\\plain.ocx): not unregistered"
                         "\r\ncomponent “Beyond” (no file recorded): not unregistered");
}

TEST_F(Uninstall, ARecordWithoutInfoTakesTheTitleFromTheUninstallKeyAndRemovesSetupDllShortcuts) {
    // The record of a package of FormatVersion 2: reg made the menu itself.
    write("reg", "1", P + "\\Demo\\Demo.lnk");
    write("reg", "2", P + "\\Demo\\uninstall.lnk");
    write("reg", "3", m.desktopFolder + "\\Demo.lnk");
    write("reg", "4", P + "\\Demo");
    write("uninstall", "1", I + "\\demo.exe");
    write("uninstall", "2", I + "\\uninstall.exe");
    write("uninstall", "3", I + "\\uninstall.ini");
    write("unreg", "1", Key);
    removeFile(P + "\\Demo\\Settings.lnk");
    run(Answer::Yes);
    EXPECT_EQ(session.boxes()[0].text, "Do you want to remove “Demo” and all of its components from this computer？");
    EXPECT_FALSE(m.folderExists(P + "\\Demo"));
    EXPECT_FALSE(m.fileExists(m.desktopFolder + "\\Demo.lnk"));
    EXPECT_FALSE(m.keyExists(Hive::LocalMachine, Key));
    EXPECT_EQ(lastBox(), "“Demo” has been removed from this computer.");
}

TEST_F(Uninstall, OnlyAProductsOwnUninstallEntryIsDeleted) {
    m.setString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows", "Keep", "me");
    write("Info", "title", "Demo");
    write("unreg", "1", "SOFTWARE\\Microsoft\\Windows");
    write("unreg", "2", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
    run(Answer::Yes);
    EXPECT_TRUE(m.keyExists(Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows"));
    EXPECT_TRUE(m.keyExists(Hive::LocalMachine, Key));
    EXPECT_EQ(lastBox(), "“Demo” has been removed, except for the following, which could not be removed:\r\n"
                         "\r\nregistry key HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows"
                         "\r\nregistry key HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
}

TEST_F(Uninstall, WithoutItsRecordItRemovesNothing) {
    session.queueAnswer(Answer::Ok);
    session.start(uninstall::UninstallMain);
    ASSERT_EQ(session.boxes().size(), 1u);
    EXPECT_EQ(session.boxes()[0].text,
              "The uninstall record “" + I + "\\uninstall.ini” was not found, so nothing can be removed.");
    EXPECT_EQ(session.boxes()[0].icon, Icon::Error);
    EXPECT_EQ(session.exitCode(), 1);
    EXPECT_TRUE(m.fileExists(I + "\\demo.exe"));
}

}  // namespace
