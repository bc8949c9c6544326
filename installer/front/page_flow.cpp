// Moving between the wizard's pages, the button states and the quit
// question.
#include "installer.h"

namespace installer {

using namespace platform;

Text PageTitle(int page) {
    switch (page) {
        case 1: return "Approbation";
        case 2: return "Self-statement";
        case 3: return "Setup path";
        case 4: return "Start setup";
        case 5: return "Copying file...";
        case 6: return "Setup finish!";
        default: return "";
    }
}

void ShowPageTitle(Installer& app, const Text& text) {
    auto& banner = app.wizard->get<Canvas>("BannerCanvas");
    banner.clearDrawing();
    banner.drawText(20, 15, text);
}

bool AskToStay(Installer& app) {
    if (app.SetupFinished) return false;
    Answer a = app.sys.ui().messageBox(
        app.wizard,
        "Do you want to exit？\r\n\r\nThe setup hasn't completed, if you exit to setup program now, "
        "this software  won't can setup your computer。\r\n\r\nYou hereafter can also install。"
        "\r\n\r\nTo go on a setup, please press a“No”button。\r\nTo exit a setup, please press a"
        "“Yes”button。",
        "Inquire", Icon::Question, Buttons::YesNo, 1);
    return a == Answer::No;
}

void TurnPage(Installer& app, bool forward) {
    Window& w = *app.wizard;
    auto& tabs = w.get<TabControl>("PageTabs");
    const PackageInfo& p = app.package;
    int a = tabs.page(), n = a;
    do {
        n += forward ? 1 : -1;
    } while ((n == 1 && p.LicenseText.empty()) || (n == 2 && p.ReadmeText.empty()));
    if (n < 0) n = 0;
    if (n > 5) n = 5;
    if (n == a) return;
    if (a == 1 && !w.get<RadioButton>("AcceptRadio").checked()) {
        // Leaving the licence page without acceptance, either way.
        if (!AskToStay(app)) w.destroy();
        return;
    }
    if (n == 1) {
        w.get<RadioButton>("AcceptRadio").setChecked(false);
        w.get<RadioButton>("DeclineRadio").setChecked(true);
    }
    tabs.setPage(n);
}

void UpdateButtons(Installer& app) {
    Window& w = *app.wizard;
    int page = w.get<TabControl>("PageTabs").page();
    bool accepted = w.get<RadioButton>("AcceptRadio").checked();
    auto& back = w.get<Button>("BackButton");
    auto& next = w.get<Button>("NextButton");
    bool backOn = !(page == 0 || page > 4);
    bool nextOn = !(page == 5 || (page == 1 && !accepted));
    if (back.enabled() != backOn) back.setEnabled(backOn);
    if (next.enabled() != nextOn) next.setEnabled(nextOn);
}

}  // namespace installer
