// Start-up: the command line, the load failures, the background window's
// look and the promotion picture, the two ways of opening the wizard.
#include "installer_harness.h"

using namespace platform;
using namespace testpkg;

namespace {

struct Startup : InstallerRun {
    Window& bg() { return session->mustWindow(Background); }
    Place promoPlace() { return bg().get<PictureBox>("PromoPicture").place(); }
};

TEST_F(Startup, FailuresShowTheirMessageAndEndWithExitCodeOne) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string bytes;
        bool lock;
        const char* message;
    } cases[] = {
        {"no argument", {}, Package().bytes(), false, "命令行错误!"},
        {"two arguments", {PackagePath, "x"}, Package().bytes(), false, "命令行错误!"},
        {"no file", {"C:\\Work\\other.pkg"}, Package().bytes(), false, "数据文件名不存在!"},
        {"locked", {PackagePath}, Package().bytes(), true, "打开数据文件失败!"},
        {"short", {PackagePath}, "\xF8\xF4\xBB\x02", false, "读取或解析数据文件失败!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::Machine m;
        m.arguments = c.args;
        m.writeFile(PackagePath, c.bytes);
        if (c.lock) m.lock(PackagePath);
        headless::Session s(m);
        s.start(installer::InstallerMain);
        ASSERT_NE(s.openBox(), nullptr);
        EXPECT_EQ(s.openBox()->text, c.message);
        EXPECT_EQ(s.openBox()->caption, "错误");
        EXPECT_EQ(s.openBox()->icon, Icon::Error);
        EXPECT_EQ(s.openBox()->buttons, Buttons::Ok);
        EXPECT_EQ(s.window(Wizard), nullptr);
        EXPECT_FALSE(s.mustWindow(Background).visible());
        s.answer(Answer::Ok);
        EXPECT_FALSE(s.running());
        EXPECT_EQ(s.exitCode(), 1);
        EXPECT_TRUE(m.fileExists(PackagePath));  // kept after a failed start
    }
}

TEST_F(Startup, PromotionPictureIsPlacedOnTheGridAfterTheWindowIsShown) {
    struct Case {
        int32_t placement;
        int x, y;
    } cases[] = {{0, 0, 0},     {1, 412, 0},   {2, 824, 0},   {3, 0, 334},   {4, 412, 334},
                 {5, 824, 334}, {6, 0, 668},   {7, 412, 668}, {8, 824, 668}, {10, 824, 668},
                 {9, 824, 668}};
    for (const Case& c : cases) {
        SCOPED_TRACE("placement " + std::to_string(c.placement));
        headless::Machine m;
        m.arguments = {PackagePath};
        Package p;
        p.promoImage = Bitmap(200, 100);
        p.promoPlacement = c.placement;
        m.writeFile(PackagePath, p.bytes());
        headless::Session s(m);
        s.start(installer::InstallerMain);
        auto& promo = s.control<PictureBox>(Background, "PromoPicture");
        EXPECT_TRUE(promo.visible());
        EXPECT_EQ(promo.picture(), p.promoImage);
        Place at = promo.place();
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
        EXPECT_EQ(at.w, 200);
        EXPECT_EQ(at.h, 100);
    }
}

TEST_F(Startup, SizeChangesMoveThePictureAndStretchTheBackground) {
    Package p;
    p.promoImage = Bitmap(200, 100);
    p.promoPlacement = 4;
    start(p);
    session->onProgramThread([&] { bg().setPlace({0, 0, 100, 50}); });
    // Larger than the client area: centred and cut off on both sides.
    EXPECT_EQ(promoPlace().x, -50);
    EXPECT_EQ(promoPlace().y, -25);
    Place label = bg().get<Label>("BackgroundLabel").place();
    EXPECT_EQ(label.w, 100);
    EXPECT_EQ(label.h, 50);
}

TEST_F(Startup, NoPromotionPictureWhenEmptyOrNotDecodable) {
    for (std::string image : {std::string(), std::string("BMnot a bitmap")}) {
        headless::Machine m;
        m.arguments = {PackagePath};
        Package p;
        p.promoImage = image;
        p.promoPlacement = 0;
        m.writeFile(PackagePath, p.bytes());
        headless::Session s(m);
        s.start(installer::InstallerMain);
        Window& w = s.mustWindow(Background);
        auto& promo = w.get<PictureBox>("PromoPicture");
        EXPECT_FALSE(promo.visible());
        Place before = promo.place();
        s.onProgramThread([&] { w.setPlace({0, 0, 640, 480}); });
        EXPECT_EQ(promo.place().x, before.x);
        EXPECT_EQ(promo.place().y, before.y);
    }
}

TEST_F(Startup, BackgroundLookFirstMatchWins) {
    struct Case {
        const char* name;
        int32_t gradientOn, pictureOn, colorOn;
        int mode;
        bool picture;
        Color back;
    } cases[] = {
        {"gradient over picture", 1, 1, 1, 3, false, DefaultColor},
        {"picture over colour", 0, 1, 1, 0, true, DefaultColor},
        {"colour", 0, 0, 1, 0, false, Rgb(1, 2, 3)},
        {"form look", 0, 0, 0, 0, false, DefaultColor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::Machine m;
        m.arguments = {PackagePath};
        Package p;
        p.gradientOn = c.gradientOn;
        p.gradientStyle = 2;
        p.color1 = 0x0000FF, p.color2 = 0x00FF00, p.color3 = 0xFF0000;
        p.backPictureOn = c.pictureOn;
        p.backPicture = Bitmap(4, 4);
        p.backColorOn = c.colorOn;
        p.backColor = static_cast<int32_t>(Rgb(1, 2, 3));
        m.writeFile(PackagePath, p.bytes());
        headless::Session s(m);
        s.start(installer::InstallerMain);
        auto& label = dynamic_cast<headless::HLabel&>(
            s.control<Label>(Background, "BackgroundLabel"));
        EXPECT_EQ(label.gradientMode(), c.mode);
        if (c.mode) {
            EXPECT_EQ(label.gradient[0], 0x0000FFu);
            EXPECT_EQ(label.gradient[2], 0xFF0000u);
        }
        EXPECT_EQ(label.backPicture().empty(), !c.picture);
        EXPECT_EQ(label.backColor(), c.back);
    }
}

TEST_F(Startup, CaptionAndVisualStyle) {
    struct Case {
        int32_t captionOn, styleOn, style;
        const char* caption;
        int applied;
    } cases[] = {{1, 1, 2, "Demo 安装", 2}, {0, 2, 2, "", 0}, {0, 1, 7, "", 7}};
    for (const Case& c : cases) {
        headless::Machine m;
        m.arguments = {PackagePath};
        Package p;
        p.captionOn = c.captionOn;
        p.visualStyleOn = c.styleOn;
        p.visualStyle = c.style;
        m.writeFile(PackagePath, p.bytes());
        headless::Session s(m);
        s.start(installer::InstallerMain);
        EXPECT_EQ(s.mustWindow(Background).caption(), c.caption);
        EXPECT_EQ(s.services().ui().visualStyle(), c.applied);
    }
}

TEST_F(Startup, OwnedModeShowsTheBackgroundBehindAModalWizard) {
    start(Package());
    EXPECT_TRUE(bg().visible());
    EXPECT_FALSE(bg().enabled());
    EXPECT_EQ(bg().place().w, 1024);
    EXPECT_EQ(bg().place().h, 768);
    EXPECT_TRUE(wizard().visible());
    EXPECT_FALSE(wizard().hasMinimizeButton());
    EXPECT_EQ(wizard().caption(), "Demo");
}

TEST_F(Startup, AloneModeNeverShowsTheBackgroundAndStillDeletesThePackage) {
    Package p;
    p.wizardOnly = 1;
    start(p);
    EXPECT_FALSE(bg().visible());
    EXPECT_TRUE(wizard().hasMinimizeButton());
    session->queueAnswer(Answer::Yes);
    session->click(Wizard, "CancelButton");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->exitCode(), 0);
    EXPECT_FALSE(machine.fileExists(PackagePath));
}

}  // namespace
