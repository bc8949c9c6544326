#include "setup_library.h"

#include "installer.h"

namespace installer {

using ViewDirFn = int32_t(PLATFORM_STDCALL*)(void* owner, const char* prompt, char* buffer);
using RegFn = int32_t(PLATFORM_STDCALL*)(const char* productName, const char* folder,
                                         const char* mainProgram, int32_t menuFlag,
                                         int32_t desktopFlag, int32_t uninstallFlag);
using RegOcxFn = int32_t(PLATFORM_STDCALL*)(const char* file, const char* param);

platform::Text SetupLibrary::path() const { return sys_.files().runDirectory() + "\\setup.dll"; }

void* SetupLibrary::function(Installer& app, const char* name) {
    // Only the copy beside the installer is ever loaded, never one found
    // through the current directory or the search path.
    if (!library_) library_ = sys_.libraries().load(path());
    if (!library_)
        FatalError(app, "加载动态库“" + path() + "”失败，无法调用函数“" + name + "”!");
    void* fn = library_->symbol(name);
    if (!fn) FatalError(app, "动态库“" + path() + "”中找不到函数“" + name + "”!");
    return fn;
}

void SetupLibrary::ViewDir(Installer& app, platform::WindowHandle owner, const char* prompt,
                           char* buffer) {
    auto fn = reinterpret_cast<ViewDirFn>(function(app, "ViewDir"));
    fn(reinterpret_cast<void*>(owner), prompt, buffer);
}

void SetupLibrary::reg(Installer& app, const char* productName, const char* folder,
                       const char* mainProgram, int32_t menuFlag, int32_t desktopFlag,
                       int32_t uninstallFlag) {
    auto fn = reinterpret_cast<RegFn>(function(app, "reg"));
    fn(productName, folder, mainProgram, menuFlag, desktopFlag, uninstallFlag);
}

int32_t SetupLibrary::regocx(Installer& app, const char* file, const char* param) {
    auto fn = reinterpret_cast<RegOcxFn>(function(app, "regocx"));
    return fn(file, param);
}

}  // namespace installer
