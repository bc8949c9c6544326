// The wizard window: its set-up, the page texts, the default destination
// folder and the handlers of its buttons and close box.
#include <algorithm>

#include "../engine/run_setup.h"
#include "installer.h"
#include "wizard_form.h"

namespace installer {

using namespace platform;

namespace {

void SetTexts(Installer& app) {
    Window& w = *app.wizard;
    const PackageInfo& p = app.package;
    const Text& P = p.ProductName;
    w.setCaption(P);
    w.get<Label>("WelcomeLabel").setText("Welcome the use“" + P + "”software！");
    w.get<Label>("HintLabel").setText(
        "This program will install“" + P +
        "”the software arrive your computer，Severely suggest that you exit all programs in other "
        "run - times before circulating this setup program。\r\n\r\nPress“Esc”exit to setup "
        "program。\r\nPress“Next”will go on to carry on a setup。\r\n\r\n\r\n\r\n");
    w.get<Edit>("LicenseEdit").setText(p.LicenseText);
    w.get<Edit>("ReadmeEdit").setText(p.ReadmeText);
    w.get<Label>("PathLabel").setText(
        "Installing the program will install“" + P +
        "”to arrive the nether catalog amid。\r\n\r\nIf want to install different catalog， please "
        "directly at edit to input new catalog path in the frame。\r\n\r\nYou can select that“Esc”"
        "exit to setup program“" + P + "”");
    w.get<Label>("StartSetupLabel").setText(
        "The reserve setup now“" + P +
        "”。\r\n\r\nPress“Next” to start installing or press“Back”to reinput a setup information。");
    w.get<Label>("SuccessLabel").setText("“" + P +
                                         "”Have already been successfully setup。\r\n\r\nPress"
                                         "“Finish”end setup program。");
}

}  // namespace

Text DefaultInstallFolder(const Text& defaultFolder, bool underProgramFiles,
                          const Text& windowsDirectory) {
    Text folder = defaultFolder;
    bool hasDrive = FindFirstCharacter(defaultFolder, ':') != Text::npos;
    bool rooted = !defaultFolder.empty() && defaultFolder[0] == '\\';
    if (underProgramFiles && !hasDrive && !rooted && !windowsDirectory.empty())
        folder = windowsDirectory.substr(0, 1) + ":\\Program Files\\" + defaultFolder;
    if (FindFirstCharacter(folder, ':') == Text::npos)
        folder = (!folder.empty() && folder[0] == '\\' ? "c:" : "c:\\") + folder;
    return folder;
}

namespace {

void NextClicked(Installer& app) {
    Window& w = *app.wizard;
    auto& tabs = w.get<TabControl>("PageTabs");
    int page = tabs.page();
    if (page < 4)
        TurnPage(app, true);
    else if (page == 4)
        RunSetup(app);
    if (w.destroyed()) return;
    w.get<Canvas>("BannerCanvas").setVisible(true);
    ShowPageTitle(app, PageTitle(tabs.page()));
    w.get<Label>("BrandLabel").setVisible(true);
    w.get<Shape>("SeparatorShape").setVisible(true);
}

void BackClicked(Installer& app) {
    Window& w = *app.wizard;
    auto& tabs = w.get<TabControl>("PageTabs");
    if (tabs.page() <= 4) TurnPage(app, false);
    if (w.destroyed()) return;
    if (tabs.page() == 0) {
        w.get<Canvas>("BannerCanvas").setVisible(false);
        w.get<Label>("BrandLabel").setVisible(false);
        w.get<Shape>("SeparatorShape").setVisible(false);
    } else {
        ShowPageTitle(app, PageTitle(tabs.page()));
    }
}

void CancelClicked(Installer& app) {
    if (app.CopyRunning) {
        app.CopyRunning = false;  // the stop request; the copy loop asks
        return;
    }
    if (AskToStay(app)) return;
    if (app.SetupFinished) FinishActions(app);
    app.wizard->destroy();
}

void BrowseClicked(Installer& app) {
    Window& w = *app.wizard;
    char buffer[257];
    std::fill(buffer, buffer + 256, ' ');
    buffer[256] = '\0';
    app.setupDll.ViewDir(app, w.handle(), "Please input to setup path:", buffer);
    buffer[256] = '\0';
    Text chosen(buffer);
    auto& path = w.get<Edit>("PathEdit");
    if (!chosen.empty()) path.setText(chosen);
    path.setFocus();
}

bool CanBeClosed(Installer& app) {
    if (AskToStay(app)) return false;
    if (app.CopyRunning) {
        // The copy loop is on the stack below us: let it close the package
        // and destroy the wizard at its next stop check.
        app.QuitWhileCopying = true;
        app.CopyRunning = false;
        return false;
    }
    return true;
}

}  // namespace

void OpenWizard(Installer& app, bool alone) {
    Window& w = app.sys.ui().createWindow(WizardForm);
    app.wizard = &w;

    // Created handler, before the wizard is first shown.
    w.setMinimizeButton(!app.background->visible());
    w.get<PictureBox>("SidePicture").setPicture(app.package.SideImage);
    w.get<Canvas>("BannerCanvas").setVisible(false);
    w.get<Label>("BrandLabel").setBackColor(DefaultColor);
    SetTexts(app);
    app.InstallFolder = DefaultInstallFolder(app.package.DefaultFolder,
                                             app.package.UnderProgramFiles,
                                             app.sys.shell().windowsDirectory());
    w.get<Edit>("PathEdit").setText(app.InstallFolder);

    w.get<Button>("NextButton").Clicked = [&app] { NextClicked(app); };
    w.get<Button>("BackButton").Clicked = [&app] { BackClicked(app); };
    w.get<Button>("CancelButton").Clicked = [&app] { CancelClicked(app); };
    w.get<Button>("BrowseButton").Clicked = [&app] { BrowseClicked(app); };
    w.get<Edit>("PathEdit").KeyPressed = [&app](int key) {
        if (key != 13) return false;
        NextClicked(app);
        return true;
    };
    w.Idle = [&app] {
        if (!app.wizard->destroyed()) UpdateButtons(app);
    };
    w.CloseQuery = [&app] { return CanBeClosed(app); };
    w.Destroying = [&app] { app.background->destroy(); };

    if (alone)
        w.show();
    else
        w.showModal(app.background);
}

}  // namespace installer
