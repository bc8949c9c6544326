// Fuzz target: a package file, start-up through the whole installation. The
// bytes become the package; the installer is driven like a user who accepts
// every page and answers every question, so the payload walk and the
// registration run on whatever the package holds. Nothing may crash, hang,
// read out of bounds or write outside the sandbox.
#include <cstdint>
#include <cstdio>
#include <string>

#include "front/installer.h"
#include "headless/controls.h"
#include "headless/session.h"
#include "package_reach.h"

PackageReach& PackageTargetReach() {
    static PackageReach reach;
    return reach;
}

namespace {

// What the current input reached so far.
struct InputReach {
    bool wizard = false, walk = false, reg = false, finished = false;
    long components = 0;
};
InputReach current;

int32_t PLATFORM_STDCALL Reg(const char*, const char*, const char*, int32_t, int32_t, int32_t) {
    current.reg = true;
    return 1;
}
int32_t PLATFORM_STDCALL RegOcx(const char*, const char*) {
    ++current.components;
    return 1;
}
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
        current.wizard = true;
        if (tabs.page() == 6) current.finished = true;
        if (tabs.page() == 1) session.click("WizardWindow", "AcceptRadio");
        if (tabs.page() >= 5) {
            session.click("WizardWindow", "CancelButton");  // Finish on page 6
            continue;
        }
        session.click("WizardWindow", "NextButton");
    }
}

}  // namespace

extern "C" void FuzzTargetReport() {
    const PackageReach& r = PackageTargetReach();
    std::printf("fuzz: of %ld inputs, %ld opened the wizard, %ld reached the payload walk, "
                "%ld the registration, %ld the finish page; %ld components registered\n",
                r.inputs, r.wizard, r.payloadWalk, r.registration, r.finished, r.components);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    current = InputReach{};
    headless::Machine machine;
    machine.writeFile("C:\\Work\\setup.pkg", std::string(reinterpret_cast<const char*>(data), size));
    machine.writeFile("C:\\Work\\uninstall.exe", "MZ uninstaller");
    machine.writeFile("C:\\Work\\outside.dat", "a file beside the package");
    machine.registerLibrary(machine.runDirectory + "\\setup.dll",
                            {{"reg", reinterpret_cast<void*>(&Reg)},
                             {"regocx", reinterpret_cast<void*>(&RegOcx)},
                             {"ViewDir", reinterpret_cast<void*>(&ViewDir)}});
    machine.arguments = {"C:\\Work\\setup.pkg"};
    headless::Session session(machine);
    // The walk lets pending events run once per payload record.
    session.onProcessEvents = [] { current.walk = true; };
    try {
        session.start(installer::InstallerMain);
        Drive(session);
    } catch (const std::logic_error&) {
        // A control the driver wanted is hidden or disabled: that run is over.
    }
    PackageReach& r = PackageTargetReach();
    ++r.inputs;
    r.wizard += current.wizard;
    r.payloadWalk += current.walk;
    r.registration += current.reg;
    r.finished += current.finished;
    r.components += current.components;
    return 0;
}
