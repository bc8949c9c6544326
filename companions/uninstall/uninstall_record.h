// The uninstall record uninstall.ini, as the installer and setup.dll
// write it beside the uninstaller.
#pragma once

#include <utility>
#include <vector>

#include "platform/system.h"
#include "platform/text.h"

namespace uninstall {

using platform::Text;

struct UninstallRecord {
    Text title;         // [Info] title
    Text installDir;    // [Info] InstallDir, without a trailing "\"
    Text linkFileName;  // [Info] LinkFileName: the desktop shortcut
    std::vector<Text> uninstall;  // [uninstall]: paths to remove, in key order
    std::vector<Text> reg;        // [reg]: what setup.dll made, in key order
    std::vector<std::pair<int, Text>> ocx;  // [ocx]: stored-file record number, component name
    std::vector<Text> unreg;      // [unreg]: keys under HKEY_LOCAL_MACHINE
};

UninstallRecord ReadUninstallRecord(const platform::Registry& registry, const Text& file);

// The name the uninstaller asks about: the title, else the product named by
// the system's uninstall entry, else the installation folder's own name.
Text ProductTitle(const UninstallRecord& record, const Text& installDir);

// Key of the system's uninstall entries under HKEY_LOCAL_MACHINE.
constexpr const char* UninstallKeyPrefix = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Only a product's own entry under the uninstall key is ever deleted: a
// record that names any other key is not followed.
bool IsProductUninstallKey(const Text& key);

}  // namespace uninstall
