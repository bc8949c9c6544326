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

void RestrictDllSearch() {
    // Libraries come from the system folder and the program's own folder
    // only: never from the current directory or PATH, where a planted DLL
    // could wait.
    SetDllDirectoryW(L"");
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

namespace {
HRESULT StartProcessServices() {
    Instance = GetModuleHandleW(nullptr);
    RestrictDllSearch();
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                             ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    return com;
}
}  // namespace

platform::Services* RuntimeServices() {
    // The run-time library serves one program for the life of the process.
    static HRESULT com = StartProcessServices();
    static W32Services services;
    (void)com;
    return &services;
}

}  // namespace win32

int platform::RunProgram(ProgramMain programMain) {
    HRESULT com = win32::StartProcessServices();
    int code;
    {
        win32::W32Services services;
        code = programMain(services);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}
