// Fuzz target: a package file, start-up through the whole installation. The
// bytes become the package; the installer is driven like a user who accepts
// every page and answers every question, so the payload walk and the
// registration run on whatever the package holds. Nothing may crash, hang,
// read out of bounds or write outside the sandbox.
#include <cstdint>
#include <string>

#include "front/installer.h"
#include "headless/controls.h"
#include "headless/session.h"

namespace {

int32_t PLATFORM_STDCALL Reg(const char*, const char*, const char*, int32_t, int32_t, int32_t) { return 1; }
int32_t PLATFORM_STDCALL RegOcx(const char*, const char*) { return 1; }
int32_t PLATFORM_STDCALL ViewDir(intptr_t, const char*, char* buffer) {
    buffer[0] = 0;
    return 0;
}

void Drive(headless::Session& session) {
    for (int step = 0; step < 64 && session.running(); ++step) {
        if (const headless::BoxRecord* box = session.openBox()) {
            session.answer(box->buttons == platform::Buttons::YesNo ? platform::Answer::No
                                                                      : platform::Answer::Ok);
            continue;
        }
        platform::Window* wizard = session.window("WizardWindow");
        if (!wizard) return;
        auto& tabs = wizard->get<platform::TabControl>("PageTabs");
        if (tabs.page() == 1) session.click("WizardWindow", "AcceptRadio");
        if (tabs.page() >= 5) {
            session.click("WizardWindow", "CancelButton");  // Finish on page 6
            continue;
        }
        session.click("WizardWindow", "NextButton");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    headless::Machine machine;
    machine.writeFile("C:\\Work\\setup.pkg", std::string(reinterpret_cast<const char*>(data), size));
    machine.writeFile("C:\\Work\\uninstall.exe", "MZ uninstaller");
    machine.registerLibrary(machine.runDirectory + "\\setup.dll",
                            {{"reg", reinterpret_cast<void*>(&Reg)},
                             {"regocx", reinterpret_cast<void*>(&RegOcx)},
                             {"ViewDir", reinterpret_cast<void*>(&ViewDir)}});
    machine.arguments = {"C:\\Work\\setup.pkg"};
    headless::Session session(machine);
    try {
        session.start(installer::InstallerMain);
        Drive(session);
    } catch (const std::logic_error&) {
        // A control the driver wanted is hidden or disabled: that run is over.
    }
    return 0;
}
