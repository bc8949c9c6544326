// The wizard: page texts, the page flow with its skipped pages and the
// licence rule, the banner, the destination folder, browsing and quitting.
#include "installer_harness.h"

using namespace platform;
using namespace testpkg;

namespace {

const char* QuitQuestion =
    "Do you want to exit？\r\n\r\nThe setup hasn't completed, if you exit to setup program now, this "
    "software  won't can setup your computer。\r\n\r\nYou hereafter can also install。\r\n\r\nTo go "
    "on a setup, please press a“No”button。\r\nTo exit a setup, please press a“Yes”button。";

struct WizardFlow : InstallerRun {
    headless::HCanvas& banner() {
        return dynamic_cast<headless::HCanvas&>(wizard().get<Canvas>("BannerCanvas"));
    }
    bool enabled(const std::string& button) { return wizard().find(button)->enabled(); }
};

TEST_F(WizardFlow, PageTextsCarryTheProductName) {
    Package p;
    p.product = "Scale";
    p.license = "L text";
    p.readme = "R text";
    start(p);
    EXPECT_EQ(text("WelcomeLabel"), "Welcome the use“Scale”software！");
    EXPECT_EQ(text("StartSetupLabel"),
              "The reserve setup now“Scale”。\r\n\r\nPress“Next” to start installing or press“Back”"
              "to reinput a setup information。");
    EXPECT_EQ(text("SuccessLabel"),
              "“Scale”Have already been successfully setup。\r\n\r\nPress“Finish”end setup program。");
    EXPECT_EQ(text("LicenseEdit"), "L text");
    EXPECT_EQ(text("ReadmeEdit"), "R text");
    EXPECT_EQ(page(), 0);
    EXPECT_FALSE(enabled("BackButton"));
    EXPECT_FALSE(wizard().find("BannerCanvas")->visible());
}

TEST_F(WizardFlow, EmptyPagesAreSkippedBothWays) {
    struct Case {
        const char* name;
        std::string license, readme;
        std::vector<int> forward;  // pages reached by Next from 0
        std::vector<int> backward;  // pages reached by Back from 4
    } cases[] = {
        {"both empty", "", "", {3, 4}, {3, 0}},
        {"no readme", "L", "", {1, 3, 4}, {3, 1}},
        {"no licence", "", "R", {2, 3, 4}, {3, 2, 0}},
        {"both", "L", "R", {1, 2, 3, 4}, {3, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::Machine m;
        m.arguments = {PackagePath};
        Package p;
        p.license = c.license;
        p.readme = c.readme;
        m.writeFile(PackagePath, p.bytes());
        headless::Session s(m);
        s.start(installer::InstallerMain);
        auto pageNow = [&] { return s.control<TabControl>(Wizard, "PageTabs").page(); };
        std::vector<int> forward, backward;
        while (pageNow() < 4) {
            if (pageNow() == 1) s.click(Wizard, "AcceptRadio");
            s.click(Wizard, "NextButton");
            forward.push_back(pageNow());
        }
        while (pageNow() > 0) {
            if (pageNow() == 1) break;  // leaving it needs acceptance again
            s.click(Wizard, "BackButton");
            backward.push_back(pageNow());
        }
        EXPECT_EQ(forward, c.forward);
        EXPECT_EQ(backward, c.backward);
        EXPECT_TRUE(s.boxes().empty());
    }
}

TEST_F(WizardFlow, BannerShowsThePageTitleAndHidesOnTheWelcomePage) {
    Package p;
    p.license = "";
    start(p);
    next();
    EXPECT_EQ(page(), 2);
    EXPECT_TRUE(wizard().find("BannerCanvas")->visible());
    EXPECT_TRUE(wizard().find("BrandLabel")->visible());
    EXPECT_TRUE(wizard().find("SeparatorShape")->visible());
    ASSERT_EQ(banner().drawn.size(), 1u);
    EXPECT_EQ(banner().drawn[0].x, 20);
    EXPECT_EQ(banner().drawn[0].y, 15);
    EXPECT_EQ(title(), "Self-statement");
    next();
    next();
    EXPECT_EQ(title(), "Start setup");
    back();
    EXPECT_EQ(title(), "Setup path");
    back();
    back();
    EXPECT_EQ(page(), 0);
    EXPECT_FALSE(wizard().find("BannerCanvas")->visible());
    EXPECT_FALSE(wizard().find("BrandLabel")->visible());
    EXPECT_FALSE(wizard().find("SeparatorShape")->visible());
}

TEST_F(WizardFlow, LicencePageAlwaysStartsDeclined) {
    start(Package());
    next();
    EXPECT_EQ(page(), 1);
    EXPECT_TRUE(session->control<RadioButton>(Wizard, "DeclineRadio").checked());
    EXPECT_FALSE(enabled("NextButton"));
    EXPECT_THROW(next(), std::logic_error);  // a disabled button cannot be pressed
    accept();
    EXPECT_TRUE(enabled("NextButton"));
    next();
    EXPECT_EQ(page(), 2);
    back();
    EXPECT_EQ(page(), 1);
    EXPECT_FALSE(session->control<RadioButton>(Wizard, "AcceptRadio").checked());
    EXPECT_TRUE(session->control<RadioButton>(Wizard, "DeclineRadio").checked());
    EXPECT_FALSE(enabled("NextButton"));
}

TEST_F(WizardFlow, BackFromTheDeclinedLicenceAsksNoStaysYesQuits) {
    start(Package());
    next();
    back();
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->text, QuitQuestion);
    EXPECT_EQ(box()->caption, "Inquire");
    EXPECT_EQ(box()->icon, Icon::Question);
    EXPECT_EQ(box()->buttons, Buttons::YesNo);
    EXPECT_EQ(box()->defaultButton, 1);  // No
    session->answer(Answer::No);
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(title(), "Approbation");
    back();
    session->answer(Answer::Yes);
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->exitCode(), 0);
    EXPECT_FALSE(machine.fileExists(PackagePath));
    EXPECT_EQ(session->window(Background), nullptr);
}

TEST_F(WizardFlow, CancelAndCloseBoxAskBeforeQuitting) {
    start(Package());
    session->queueAnswer(Answer::No);
    session->click(Wizard, "CancelButton");
    session->queueAnswer(Answer::No);
    session->closeWindow(Wizard);
    EXPECT_TRUE(session->running());
    EXPECT_EQ(session->boxes().size(), 2u);
    session->queueAnswer(Answer::Yes);
    session->closeWindow(Wizard);
    EXPECT_FALSE(session->running());
    EXPECT_FALSE(machine.fileExists(PackagePath));
}

TEST_F(WizardFlow, DefaultDestinationFolder) {
    struct Case {
        std::string folder;
        int32_t under;
        std::string windows;
        std::string expected;
    } cases[] = {
        {"MyApp", 1, "C:\\WINDOWS", "C:\\Program Files\\MyApp"},
        {"MyApp", 0, "C:\\WINDOWS", "c:\\MyApp"},
        {"\\MyApp", 1, "C:\\WINDOWS", "c:\\MyApp"},
        {"\\MyApp", 0, "C:\\WINDOWS", "c:\\MyApp"},
        {"D:\\Apps\\MyApp", 1, "C:\\WINDOWS", "D:\\Apps\\MyApp"},
        {"", 1, "E:\\WIN", "E:\\Program Files\\"},
        {"", 0, "C:\\WINDOWS", "c:\\"},
        {"MyApp", 1, "", "c:\\MyApp"},
        {"  MyApp ", 1, "C:\\WINDOWS", "C:\\Program Files\\MyApp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.folder + "\" under " + std::to_string(c.under) + " " + c.windows);
        headless::Machine m;
        m.arguments = {PackagePath};
        m.windowsDirectory = c.windows;
        Package p;
        p.defaultFolder = c.folder;
        p.underProgramFiles = c.under;
        m.writeFile(PackagePath, p.bytes());
        headless::Session s(m);
        s.start(installer::InstallerMain);
        EXPECT_EQ(s.control<Edit>(Wizard, "PathEdit").text(), c.expected);
    }
}

TEST_F(WizardFlow, EnterInThePathBoxActsAsNext) {
    Package p;
    p.license = p.readme = "";
    start(p);
    next();
    ASSERT_EQ(page(), 3);
    session->pressKey(Wizard, "PathEdit", 'x');
    EXPECT_EQ(page(), 3);
    session->pressKey(Wizard, "PathEdit", 13);
    EXPECT_EQ(page(), 4);
    EXPECT_EQ(title(), "Start setup");
    EXPECT_EQ(text("PathEdit"), "D:\\Apps\\Demox");
}

TEST_F(WizardFlow, BrowsePutsTheChosenFolderIntoThePathBox) {
    Package p;
    p.license = p.readme = "";
    start(p);
    next();
    SetupDll().chosenFolder = "E:\\Chosen";
    session->click(Wizard, "BrowseButton");
    ASSERT_EQ(SetupDll().calls.size(), 1u);
    EXPECT_EQ(SetupDll().calls[0], "ViewDir(Please input to setup path:,256)");
    EXPECT_EQ(text("PathEdit"), "E:\\Chosen");
    EXPECT_TRUE(wizard().find("PathEdit")->focused());
    SetupDll().chosenFolder = "";
    session->click(Wizard, "BrowseButton");
    EXPECT_EQ(text("PathEdit"), "E:\\Chosen");
    // Only the library beside the installer is ever loaded.
    EXPECT_EQ(machine.loadAttempts, std::vector<std::string>{"C:\\Tool\\setup.dll"});
}

TEST_F(WizardFlow, MissingSetupLibraryOrFunctionEndsTheInstaller) {
    struct Case {
        bool library;
        const char* message;
    } cases[] = {
        {false, "加载动态库“C:\\Tool\\setup.dll”失败，无法调用函数“ViewDir”!"},
        {true, "动态库“C:\\Tool\\setup.dll”中找不到函数“ViewDir”!"},
    };
    for (const Case& c : cases) {
        headless::Machine m;
        m.arguments = {PackagePath};
        Package p;
        p.license = p.readme = "";
        m.writeFile(PackagePath, p.bytes());
        // A library in the current directory is never taken instead.
        m.writeFile("C:\\Work\\setup.dll", "elsewhere");
        m.registerLibrary("C:\\Work\\setup.dll", {{"ViewDir", reinterpret_cast<void*>(&FakeViewDir)}});
        if (c.library) {
            m.writeFile("C:\\Tool\\setup.dll", "without ViewDir");
            m.registerLibrary("C:\\Tool\\setup.dll", {{"reg", reinterpret_cast<void*>(&FakeReg)}});
        }
        headless::Session s(m);
        s.start(installer::InstallerMain);
        s.click(Wizard, "NextButton");
        s.click(Wizard, "BrowseButton");
        ASSERT_NE(s.openBox(), nullptr);
        EXPECT_EQ(s.openBox()->text, c.message);
        EXPECT_EQ(s.openBox()->caption, "错误");
        s.answer(Answer::Ok);
        EXPECT_EQ(s.exitCode(), 1);
    }
}

}  // namespace
