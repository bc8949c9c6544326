// The finish page and the Finish button.
#include "run_setup.h"

namespace installer {

using namespace platform;

void FinishState(Installer& app) {
    Window& w = *app.wizard;
    if (app.package.RunAfterOn) w.get<CheckBox>("RunAfterCheck").setVisible(true);
    app.SetupFinished = true;
    w.get<Button>("CancelButton").setText("Finish(&F)");
    w.get<TabControl>("PageTabs").setPage(6);
    ShowPageTitle(app, "Setup finish!");
}

void FinishActions(Installer& app) {
    if (!app.wizard->get<CheckBox>("RunAfterCheck").checked() || app.MainProgram.empty()) return;
    app.sys.files().setCurrentDirectory(app.InstallFolder);
    // The stored path is handed over as the whole command line, unquoted.
    app.sys.processes().start(app.MainProgram);
}

}  // namespace installer
