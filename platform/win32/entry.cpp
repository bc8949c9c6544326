// The program entry of the Windows build: COM, common controls, the
// services, the program.
#include <objbase.h>

#include "platform/entry.h"
#include "internal.h"

#include <commctrl.h>

namespace win32 {

HINSTANCE Instance = nullptr;

namespace {

class W32Services : public platform::Services {
public:
    W32Services()
        : files_(MakeFiles()),
          processes_(MakeProcesses()),
          clock_(MakeClock()),
          registry_(MakeRegistry()),
          shell_(MakeShell()),
          libraries_(MakeLibraries()) {}
    platform::Ui& ui() override { return ui_; }
    platform::Files& files() override { return *files_; }
    platform::Processes& processes() override { return *processes_; }
    platform::Clock& clock() override { return *clock_; }
    platform::Registry& registry() override { return *registry_; }
    platform::Shell& shell() override { return *shell_; }
    platform::Libraries& libraries() override { return *libraries_; }
    std::unique_ptr<platform::SerialPort> createSerialPort() override {
        return MakeSerialPort(ui_.messageWindow);
    }

private:
    W32Ui ui_;
    std::unique_ptr<platform::Files> files_;
    std::unique_ptr<platform::Processes> processes_;
    std::unique_ptr<platform::Clock> clock_;
    std::unique_ptr<platform::Registry> registry_;
    std::unique_ptr<platform::Shell> shell_;
    std::unique_ptr<platform::Libraries> libraries_;
};

}  // namespace

}  // namespace win32

int platform::RunProgram(ProgramMain programMain) {
    win32::Instance = GetModuleHandleW(nullptr);
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                             ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    int code;
    {
        win32::W32Services services;
        code = programMain(services);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}
