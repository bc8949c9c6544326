// The outside library setup.dll: loaded from the installer's own folder at
// the first call of one of its functions. A missing library or function
// ends the installer with a message naming both.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/services.h"

namespace installer {

struct Installer;

class SetupLibrary {
public:
    explicit SetupLibrary(platform::Services& s) : sys_(s) {}

    // Lets the user pick a folder; buffer holds 256 blanks on entry and the
    // chosen folder, zero-terminated, afterwards.
    void ViewDir(Installer& app, platform::WindowHandle owner, const char* prompt, char* buffer);
    void reg(Installer& app, const char* productName, const char* folder, const char* mainProgram,
             int32_t menuFlag, int32_t desktopFlag, int32_t uninstallFlag);
    int32_t regocx(Installer& app, const char* file, const char* param);

    platform::Text path() const;

private:
    void* function(Installer& app, const char* name);
    platform::Services& sys_;
    std::unique_ptr<platform::Library> library_;
};

}  // namespace installer
