// The firmware upgrade behind the advanced permission.
#include <filesystem>
#include <functional>

#include "settings_fixture.h"

namespace {

const char* const CannotStart = "无法启动固件升级，请尝试以管理员身份运行本软件！!";
const std::string Copy = "C:\\Program Files\\soft_temp_QX\\temp.exe";
const std::string CopyCommandLine = "\"" + Copy + "\"";

struct UpgradeTest : SettingsTest {
    // The upgrade program beside the tool, under its .st name.
    void placeSource(const std::string& name, const std::string& bytes = "MZ upgrade") {
        machine.writeFile("C:\\Tool\\" + name, bytes);
    }
    void SetUp() override {
        SettingsTest::SetUp();
        machine.makeFolders("C:\\Program Files");
    }
    // Clicks UpgradeButton and answers the password window.
    void upgradeWith(const std::string& password) {
        click("UpgradeButton");
        ASSERT_TRUE(session->window("PermissionWindow"));
        session->paste("PermissionWindow", "PasswordEdit", password);
        session->click("PermissionWindow", "PermissionOkButton");
    }
    void disableGroups() {
        session->onProgramThread([&] {
            get<platform::Control>("CalibrationGroup").setEnabled(false);
            get<platform::Control>("SettingsGroup").setEnabled(false);
        });
    }
    bool enabled(const char* name) { return get<platform::Control>(name).enabled(); }
};

TEST_F(UpgradeTest, PasswordWindowIsModalOverTheMainWindowWhilePollingGoesOn) {
    startOpen();
    size_t mark = board.mark();
    click("UpgradeButton");
    platform::Window* w = session->window("PermissionWindow");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->caption(), "开启高级功能权限");
    EXPECT_EQ(w->place().x, 50);
    EXPECT_EQ(w->place().y, 50);
    EXPECT_EQ(w->place().w, 380);
    EXPECT_EQ(w->place().h, 250);
    EXPECT_EQ(w->get<platform::Control>("PermissionGroup").text(), "请输入高级权限密码");
    EXPECT_EQ(w->get<platform::Control>("PermissionOkButton").text(), "确定");
    auto& edit = w->get<platform::Edit>("PasswordEdit");
    EXPECT_TRUE(edit.focused());
    EXPECT_EQ(edit.maxLength(), 8);
    EXPECT_EQ(edit.text(), "");
    auto* form = dynamic_cast<headless::HEdit&>(edit).form;
    EXPECT_TRUE(form->flags & platform::PasswordMask);
    EXPECT_TRUE(form->flags & platform::AlignCenter);
    EXPECT_FALSE(session->mustWindow("MainWindow").enabled());
    EXPECT_THROW(click("TareButton"), std::logic_error);

    session->advance(1000);
    EXPECT_EQ(board.commandsSince(mark).size(), 5u) << "polls go on behind the window";
    session->type("PermissionWindow", "PasswordEdit", "9517wxyz9");
    EXPECT_EQ(edit.text(), "9517wxyz");
    session->click("PermissionWindow", "PermissionOkButton");
    EXPECT_EQ(session->window("PermissionWindow"), nullptr);
    EXPECT_EQ(tool->PermissionPassword, "9517wxyz");
    EXPECT_TRUE(session->mustWindow("MainWindow").enabled());
}

struct PasswordCase {
    const char* password;
    bool granted;
};

TEST_F(UpgradeTest, OnlyTheTwoExactPasswordsGrantThePermission) {
    const PasswordCase cases[] = {
        {"9517wxyz", true},   {"9517WXYZ", true},   {"9517Wxyz", false}, {"9517wxyZ", false},
        {" 9517wxyz", false}, {"9517wxyz ", false}, {"9517WXYZ ", false}, {"", false},
        {"9517", false},
    };
    for (const PasswordCase& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.password + "\"");
        placeSource("C_ROXU.st");
        startOpen();
        disableGroups();
        upgradeWith(c.password);
        EXPECT_EQ(session->window("PermissionWindow"), nullptr);
        if (c.granted) {
            EXPECT_EQ(session->openBox(), nullptr);
            EXPECT_EQ(tool->PermissionPassword, c.password);
            EXPECT_EQ(machine.started.size(), 1u);
            EXPECT_EQ(text("OpenButton"), "打开");
        } else {
            headless::BoxRecord box = answerBox();
            EXPECT_EQ(box.text, "权限错误!");
            EXPECT_EQ(box.caption, "信息：");
            EXPECT_EQ(box.icon, platform::Icon::None);
            EXPECT_TRUE(machine.started.empty());
            EXPECT_FALSE(enabled("CalibrationGroup"));
            EXPECT_FALSE(enabled("SettingsGroup"));
            EXPECT_EQ(tool->FirmwarePrefix, "");
            EXPECT_EQ(text("OpenButton"), "关闭");
            click("UpgradeButton");  // asks again
            EXPECT_TRUE(session->window("PermissionWindow"));
        }
        session.reset();
        machine.started.clear();
    }
}

TEST_F(UpgradeTest, GrantEnablesCalibrationAndSettings) {
    startOpen();  // no source file: the upgrade stops after the grant
    disableGroups();
    upgradeWith("9517WXYZ");
    EXPECT_EQ(answerBox().text, CannotStart);
    EXPECT_TRUE(enabled("CalibrationGroup"));
    EXPECT_TRUE(enabled("SettingsGroup"));
    EXPECT_EQ(text("OpenButton"), "关闭");
}

TEST_F(UpgradeTest, CloseBoxLeavesThePasswordEmpty) {
    placeSource("C_ROXU.st");
    startOpen();
    click("UpgradeButton");
    session->paste("PermissionWindow", "PasswordEdit", "9517wxyz");
    session->closeWindow("PermissionWindow");
    EXPECT_EQ(session->window("PermissionWindow"), nullptr);
    EXPECT_EQ(answerBox().text, "权限错误!");
    EXPECT_EQ(tool->PermissionPassword, "");
    EXPECT_TRUE(machine.started.empty());
}

TEST_F(UpgradeTest, BeforeAnyVersionReplyTheSourceIsC_ROXU) {
    placeSource("C_ROXU.st", "MZ roxu");
    startOpen();
    ASSERT_EQ(tool->FirmwarePrefix, "");
    size_t mark = board.mark();
    upgradeWith("9517wxyz");
    EXPECT_EQ(session->openBox(), nullptr);
    EXPECT_EQ(tool->FirmwarePrefix, "C");
    EXPECT_EQ(machine.readFile(Copy), "MZ roxu");
    ASSERT_EQ(machine.started.size(), 1u);
    EXPECT_EQ(machine.started[0].commandLine, CopyCommandLine);

    // The port is handed over: closed as OpenButton closes it.
    EXPECT_EQ(text("OpenButton"), "打开");
    EXPECT_FALSE(enabled("VersionGroup"));
    EXPECT_FALSE(enabled("SettingsGroup"));
    EXPECT_TRUE(get<platform::Control>("PortCombo").enabled());
    EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 0);
    auto port = board.portEventsSince(mark);
    ASSERT_FALSE(port.empty());
    EXPECT_EQ(port.back().what, ScriptedBoard::What::Closed);
    EXPECT_FALSE(tool->BoardPort->isOpen());
}

TEST_F(UpgradeTest, SourceNameFollowsTheEditionAndPrefix) {
    placeSource("C_ROXU.st", "MZ roxu");
    placeSource("B_QJV.st", "MZ selmar");
    startOpen();
    session->onProgramThread([&] {
        tool->EditionCode = "QJV";
        tool->FirmwarePrefix = "B";
    });
    upgradeWith("9517wxyz");
    EXPECT_EQ(session->openBox(), nullptr);
    EXPECT_EQ(machine.readFile(Copy), "MZ selmar");
    EXPECT_EQ(tool->FirmwarePrefix, "B");
}

TEST_F(UpgradeTest, ExistingCopyIsReplacedAndASecondUpgradeDoesNotAskAgain) {
    machine.writeFile(Copy, "MZ old copy");
    placeSource("C_ROXU.st", "MZ new");
    startOpen();
    upgradeWith("9517wxyz");
    EXPECT_EQ(machine.readFile(Copy), "MZ new");

    placeSource("C_ROXU.st", "MZ newer");
    click("OpenButton");
    ASSERT_EQ(text("OpenButton"), "关闭");
    session->advance(3000);
    click("UpgradeButton");
    EXPECT_EQ(session->window("PermissionWindow"), nullptr);
    EXPECT_EQ(session->openBox(), nullptr);
    EXPECT_EQ(machine.readFile(Copy), "MZ newer");
    EXPECT_EQ(machine.started.size(), 2u);
    EXPECT_EQ(text("OpenButton"), "打开");
}

struct Failure {
    const char* what;
    std::function<void(UpgradeTest&)> arrange;
    bool copied;  // temp.exe holds the new copy afterwards
};

TEST_F(UpgradeTest, EveryFailureToStartKeepsThePortOpen) {
    const Failure cases[] = {
        {"no source file", [](UpgradeTest&) {}, false},
        {"source of another edition",
         [](UpgradeTest& t) { t.placeSource("C_QJV.st"); }, false},
        {"folder above the copy missing",
         [](UpgradeTest& t) {
             t.placeSource("C_ROXU.st");
             std::filesystem::remove_all(t.machine.hostPath("C:\\Program Files"));
         },
         false},
        {"old copy still running",
         [](UpgradeTest& t) {
             t.placeSource("C_ROXU.st");
             t.machine.writeFile(Copy, "MZ old");
             t.machine.lock(Copy);
         },
         false},
        {"start refused",
         [](UpgradeTest& t) {
             t.placeSource("C_ROXU.st");
             t.machine.startRule = [](const headless::StartedProcess&) { return false; };
         },
         true},
    };
    for (const Failure& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange(*this);
        startOpen();
        size_t mark = board.mark();
        upgradeWith("9517wxyz");
        headless::BoxRecord box = answerBox();
        EXPECT_EQ(box.text, CannotStart);
        EXPECT_EQ(box.caption, "信息：");
        EXPECT_EQ(box.icon, platform::Icon::None);
        EXPECT_EQ(session->openBox(), nullptr) << "one message";
        EXPECT_EQ(tool->FirmwarePrefix, "C");
        EXPECT_EQ(text("OpenButton"), "关闭");
        EXPECT_TRUE(tool->BoardPort->isOpen());
        EXPECT_TRUE(board.portEventsSince(mark).empty());
        EXPECT_EQ(machine.readFile(Copy) == std::optional<std::string>("MZ upgrade"), c.copied);
        session->advance(400);
        EXPECT_EQ(board.commandsSince(mark).size(), 2u) << "polling goes on";

        // The permission stays: the next click goes straight to the upgrade.
        click("UpgradeButton");
        EXPECT_EQ(session->window("PermissionWindow"), nullptr);
        EXPECT_EQ(answerBox().text, CannotStart);

        session.reset();
        machine.startRule = nullptr;
        machine.lockedHostPaths.clear();
        std::filesystem::remove_all(machine.hostPath("C:\\"));
        machine.makeFolders("C:\\Program Files");
    }
}

}  // namespace
