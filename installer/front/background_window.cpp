// Start-up: the command line, the package, the full-screen background
// window and the end of the program.
#include <cstdlib>

#include "installer.h"

namespace installer {

using namespace platform;

namespace {

const FormSpec BackgroundForm = {
    .name = "BackgroundWindow",
    .caption = "",
    .place = {0, 0, 800, 600},
    .flags = WindowHidden | NoFrame,
    .controls =
        {
            {.name = "BackgroundLabel", .kind = Kind::Label, .place = {0, 0, 800, 600}},
            {.name = "PromoPicture", .kind = Kind::PictureBox, .flags = Hidden},
            {.name = "PromoCanvas", .kind = Kind::Canvas, .flags = Hidden},
        },
};

void DressBackground(Installer& app, const StartupLook& look) {
    Window& bg = *app.background;
    PackageInfo& p = app.package;
    if (look.CaptionOn) bg.setCaption(p.ProductName + " 安装");

    auto& label = bg.get<Label>("BackgroundLabel");
    if (look.GradientOn)
        label.setGradient(look.GradientStyle + 1, static_cast<Color>(look.GradientColor1),
                          static_cast<Color>(look.GradientColor2),
                          static_cast<Color>(look.GradientColor3));
    else if (look.BackPictureOn)
        label.setBackPicture(look.BackPicture);
    else if (look.BackColorOn)
        label.setBackColor(static_cast<Color>(look.BackColor));

    std::optional<Size> measured;
    if (p.PromoPlacement >= 0 && !look.PromoImage.empty())
        measured = bg.get<Canvas>("PromoCanvas").measurePicture(look.PromoImage);
    if (measured) {
        p.PromoWidth = measured->width;
        p.PromoHeight = measured->height;
        auto& promo = bg.get<PictureBox>("PromoPicture");
        Place place = promo.place();
        place.w = p.PromoWidth;
        place.h = p.PromoHeight;
        promo.setPlace(place);
        promo.setPicture(look.PromoImage);
        promo.setVisible(true);
    } else {
        p.PromoPlacement = -1;
    }
}

// Runs once, while the background window is still hidden.
void BackgroundCreated(Installer& app) {
    Window& bg = *app.background;
    Size screen = app.sys.ui().screenSize();
    bg.setPlace({0, 0, screen.width, screen.height});

    std::vector<Text> args = app.sys.processes().arguments();
    if (args.size() != 1) FatalError(app, "命令行错误!");
    app.package.PackagePath = args[0];

    StartupLook look;
    LoadResult loaded = LoadPackage(app.sys.files(), app.package.PackagePath, app.package, &look,
                                    [&app](const StartupLook& l) {
                                        if (l.VisualStyleOn == 1)
                                            app.sys.ui().setVisualStyle(l.VisualStyle);
                                    });
    switch (loaded) {
        case LoadResult::NotFound: FatalError(app, "数据文件名不存在!");
        case LoadResult::CannotOpen: FatalError(app, "打开数据文件失败!");
        case LoadResult::BadHeader: FatalError(app, "读取或解析数据文件失败!");
        case LoadResult::Loaded: break;
    }

    DressBackground(app, look);
    if (look.WizardOnly) {
        OpenWizard(app, true);
    } else {
        bg.show();
        // The size change at the start came before the package was read;
        // place the promotion picture by the loaded values now.
        LayoutBackground(app);
        OpenWizard(app, false);
    }
}

}  // namespace

void LayoutBackground(Installer& app) {
    Window& bg = *app.background;
    const PackageInfo& p = app.package;
    Size client = bg.clientSize();
    int w = client.width, h = client.height;
    auto& label = bg.get<Label>("BackgroundLabel");
    label.setPlace({0, 0, w, h});
    if (p.PromoPlacement < 0) return;

    int column = p.PromoPlacement % 3, row = p.PromoPlacement / 3;
    int x = 0, y = 0;
    if (p.PromoPlacement <= 8 && column == 0)
        x = 0;
    else if (p.PromoPlacement <= 8 && column == 1)
        x = static_cast<int>((w - p.PromoWidth) / 2.0);
    else
        x = w - p.PromoWidth;
    if (row == 0)
        y = 0;
    else if (row == 1)
        y = static_cast<int>((h - p.PromoHeight) / 2.0);
    else
        y = h - p.PromoHeight;

    auto& promo = bg.get<PictureBox>("PromoPicture");
    Place place = promo.place();
    place.x = x;
    place.y = y;
    promo.setPlace(place);
}

[[noreturn]] void FatalError(Installer& app, const Text& message) {
    app.sys.ui().messageBox(nullptr, message, "错误", Icon::Error, Buttons::Ok);
    // A failed installation must not look like a successful one.
    app.sys.processes().exit(1);
    std::abort();  // exit does not return
}

int InstallerMain(Services& services) {
    Installer app(services);
    Window& bg = services.ui().createWindow(BackgroundForm);
    app.background = &bg;
    bg.SizeChanged = [&app](int, int) { LayoutBackground(app); };
    bg.Destroying = [&app] { app.sys.files().deleteFile(app.package.PackagePath); };
    BackgroundCreated(app);
    services.ui().runUntilDestroyed(bg);
    return 0;
}

}  // namespace installer
