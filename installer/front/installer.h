// The installer's program-wide state and the operations its windows and
// the installation engine share.
#pragma once

#include <memory>
#include <string>

#include "package.h"
#include "platform/services.h"
#include "setup_library.h"

namespace installer {

struct Installer {
    explicit Installer(platform::Services& s) : sys(s), setupDll(s) {}
    platform::Services& sys;
    PackageInfo package;
    platform::Window* background = nullptr;
    platform::Window* wizard = nullptr;

    Text InstallFolder;
    Text MainProgram;
    bool CopyRunning = false;
    bool SetupFinished = false;
    // Set when the user confirmed quitting through the wizard's close box
    // while copying ran; the copy loop ends at its next stop check.
    bool QuitWhileCopying = false;
    int UninstallKey = 0;
    SetupLibrary setupDll;
};

// The program entry: checks the command line, loads the package, dresses
// the background window and runs the wizard.
int InstallerMain(platform::Services& services);

// Shows the message and ends the installer at once with exit code 1.
[[noreturn]] void FatalError(Installer& app, const Text& message);

// Background window (background_window.cpp).
void LayoutBackground(Installer& app);

// Wizard window (wizard_window.cpp, page_flow.cpp).
void OpenWizard(Installer& app, bool alone);
// false (quit) at once after a finished setup; otherwise asks the user and
// returns true when the wizard is to stay.
bool AskToStay(Installer& app);
void ShowPageTitle(Installer& app, const Text& text);
void TurnPage(Installer& app, bool forward);
void UpdateButtons(Installer& app);
Text PageTitle(int page);
// The initial destination folder from the package's DefaultFolder.
Text DefaultInstallFolder(const Text& defaultFolder, bool underProgramFiles,
                          const Text& windowsDirectory);

}  // namespace installer
