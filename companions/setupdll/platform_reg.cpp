#include "platform_reg.h"

namespace setupdll {

ShellPlaces PlatformShellPlaces(platform::Services& services) {
    ShellPlaces places;
    auto programs = services.registry().readString(
        platform::Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "Programs");
    if (programs) places.programsFolder = *programs;
    places.desktopFolder = services.shell().desktopFolder();
    return places;
}

bool PlatformRegSystem::createFolder(const Text& path) { return s_.files().createFolder(path); }

bool PlatformRegSystem::folderExists(const Text& path) { return s_.files().findDirectory(path); }

bool PlatformRegSystem::makeShortcut(const Text& link, const Text& target) {
    auto shell = s_.shell().createObject("WScript.Shell");
    if (!shell) return false;
    auto shortcut = shell->callForObject("CreateShortcut", {platform::Variant::Of(link)});
    if (!shortcut) return false;
    return shortcut->setProperty("TargetPath", platform::Variant::Of(target)) && shortcut->call("Save", {});
}

bool PlatformRegSystem::writeRecord(const Text& file, const Text& section, const Text& key, const Text& value) {
    return s_.registry().writeProfileString(file, section, key, value);
}

void Reg(platform::Services& services, const RegRequest& request) {
    PlatformRegSystem system(services);
    CarryOut(PlanReg(request, PlatformShellPlaces(services)), system);
}

}  // namespace setupdll
