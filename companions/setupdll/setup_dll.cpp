// setup.dll: the folder browser and the product and component registration
// the installer calls by name.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "components.h"
#include "reg_plan.h"
#include "win32_system.h"

using namespace setupdll;

namespace {

// COM for the calling thread, released only when this call started it.
class ComScope {
public:
    explicit ComScope(bool ole) : ole_(ole) {
        HRESULT hr = ole ? OleInitialize(nullptr) : CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        started_ = SUCCEEDED(hr);
    }
    ~ComScope() {
        if (!started_) return;
        if (ole_) OleUninitialize();
        else CoUninitialize();
    }

private:
    bool ole_;
    bool started_ = false;
};

}  // namespace

// Lets the user pick a folder; the folder goes into buffer (256 bytes) as
// a zero-terminated text, or the empty text when nothing was picked or the
// path would not fit.
extern "C" __declspec(dllexport) int __stdcall ViewDir(HWND owner, const char* prompt, char* buffer) {
    if (!buffer) return 0;
    buffer[0] = '\0';
    ComScope com(true);  // the resizable dialog needs OLE
    std::wstring title = Wide(prompt ? prompt : "");
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    if (!chosen) return 0;
    wchar_t path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListW(chosen, path) != 0;
    CoTaskMemFree(chosen);
    if (!ok) return 0;
    std::string gbk = Narrow(path);
    if (gbk.empty() || gbk.size() > 255) return 0;
    std::memcpy(buffer, gbk.c_str(), gbk.size() + 1);
    return 1;
}

// Makes the product's Start-menu folder and shortcuts and its desktop
// shortcut as the flags ask, and lists them in folder\uninstall.ini.
extern "C" __declspec(dllexport) int __stdcall reg(const char* product, const char* folder, const char* mainProgram,
                                                   int menuFlag, int desktopFlag, int uninstallFlag) {
    if (!product || !folder) return 0;
    RegRequest request;
    request.product = product;
    request.folder = folder;
    if (mainProgram) request.mainProgram = std::string(mainProgram);
    request.menuFlag = menuFlag;
    request.desktopFlag = desktopFlag;
    request.uninstallFlag = uninstallFlag;
    ComScope com(false);
    Win32RegSystem system;
    CarryOut(PlanReg(request, Win32ShellPlaces()), system);
    return 1;
}

// Registers a component through its DllRegisterServer entry. param is the
// component's name for the uninstall record; registering does not need it.
// Non-zero: registered.
extern "C" __declspec(dllexport) int __stdcall regocx(const char* path, const char* param) {
    (void)param;
    if (!path || !*path) return 0;
    ComScope com(true);
    Win32Libraries libraries;
    return CallServerEntry(libraries, path, "DllRegisterServer") == ServerCall::Done ? 1 : 0;
}
