// reg carried out through the platform layer: the shell places from the
// registry and the shell, shortcuts through "WScript.Shell", the record
// through the profile writer. This is how reg runs on the headless backend.
#pragma once

#include "platform/services.h"
#include "reg_plan.h"

namespace setupdll {

// The Programs folder as the current user's shell folders name it, and
// the desktop folder.
ShellPlaces PlatformShellPlaces(platform::Services& services);

class PlatformRegSystem : public RegSystem {
public:
    explicit PlatformRegSystem(platform::Services& services) : s_(services) {}
    bool createFolder(const Text& path) override;
    bool folderExists(const Text& path) override;
    bool makeShortcut(const Text& link, const Text& target) override;
    bool writeRecord(const Text& file, const Text& section, const Text& key, const Text& value) override;

private:
    platform::Services& s_;
};

// reg(product, folder, mainProgram, menuFlag, desktopFlag, uninstallFlag).
void Reg(platform::Services& services, const RegRequest& request);

}  // namespace setupdll
