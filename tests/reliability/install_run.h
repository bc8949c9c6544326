// One whole installer run on a package, driven the way a user who accepts
// every page would drive it, with the outcome a test can judge: whether the
// wizard opened, the message boxes, whether setup finished, and what the run
// did to the disk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "front/installer.h"
#include "headless/controls.h"
#include "headless/session.h"
#include "sandbox_walk.h"

namespace reliability {

constexpr const char* PackagePath = "C:\\Work\\setup.pkg";
constexpr const char* InstallFolder = "D:\\Apps\\Probe\\";
constexpr const char* ProgramsFolder = "C:\\Users\\user\\Programs";

inline int32_t PLATFORM_STDCALL StubReg(const char*, const char*, const char*, int32_t, int32_t, int32_t) {
    return 1;
}
inline int32_t PLATFORM_STDCALL StubRegOcx(const char*, const char*) { return 1; }
inline int32_t PLATFORM_STDCALL StubViewDir(void*, const char*, char* buffer) {
    buffer[0] = 0;
    return 0;
}

struct InstallOutcome {
    bool wizardOpened = false;
    bool finished = false;  // the finish page showed
    bool ended = false;     // the program ended within the run
    std::vector<std::string> boxes;
    std::vector<std::string> changed;  // host paths created or changed
    std::vector<std::string> outside;  // of those, outside the install, menu and desktop folders
    std::vector<std::string> gone;     // host paths removed
};

// Prepares the machine as a user's PC with the installer beside setup.dll,
// the package in C:\Work and the uninstaller beside it. `fault` runs just
// before the installer starts.
inline void PreparePc(headless::Machine& m, const std::string& package) {
    m.arguments = {PackagePath};
    m.writeFile(PackagePath, package);
    m.writeFile("C:\\Work\\uninstall.exe", "MZ uninstaller");
    m.writeFile("C:\\Work\\outside.dat", "a file beside the package");
    m.makeFolders("D:\\Apps");
    m.makeFolders(ProgramsFolder);
    m.makeFolders(m.desktopFolder);
    m.setString(platform::Hive::CurrentUser,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs",
                ProgramsFolder);
    m.registerLibrary(m.runDirectory + "\\setup.dll", {{"reg", reinterpret_cast<void*>(&StubReg)},
                                                       {"regocx", reinterpret_cast<void*>(&StubRegOcx)},
                                                       {"ViewDir", reinterpret_cast<void*>(&StubViewDir)}});
}

inline InstallOutcome RunInstaller(headless::Machine& m,
                                   const std::function<void(headless::Machine&)>& fault = {}) {
    InstallOutcome out;
    DiskPicture before = DiskPicture::Of(m);
    if (fault) fault(m);
    {
        headless::Session session(m);
        session.start(installer::InstallerMain);
        for (int step = 0; step < 64 && session.running(); ++step) {
            if (const headless::BoxRecord* box = session.openBox()) {
                out.boxes.push_back(box->text);
                session.answer(box->buttons == platform::Buttons::YesNo ? platform::Answer::No
                                                                          : platform::Answer::Ok);
                continue;
            }
            platform::Window* wizard = session.window("WizardWindow");
            if (!wizard) break;
            out.wizardOpened = true;
            int page = wizard->get<platform::TabControl>("PageTabs").page();
            if (page == 1) session.click("WizardWindow", "AcceptRadio");
            if (page == 3) session.paste("WizardWindow", "PathEdit", InstallFolder);
            if (page == 6) {
                out.finished = true;
                session.click("WizardWindow", "CancelButton");  // Finish
                continue;
            }
            session.click("WizardWindow", "NextButton");
        }
        out.ended = !session.running();
    }
    m.failWrite = nullptr;
    m.failCreate = nullptr;
    m.lockedHostPaths.clear();
    DiskPicture after = DiskPicture::Of(m);
    out.changed = after.changedSince(before);
    out.gone = after.goneSince(before);
    out.outside = OutsideOf(m, out.changed, {InstallFolder, ProgramsFolder, m.desktopFolder});
    return out;
}

}  // namespace reliability
