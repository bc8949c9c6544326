// What reg of setup.dll makes for a product: the Start-menu folder named
// after the product with its shortcuts, and the desktop shortcut. The
// decisions live here, apart from the Windows calls that carry them out, so
// they run unchanged on every backend.
#pragma once

#include <optional>
#include <vector>

#include "platform/text.h"

namespace setupdll {

using platform::Text;

// The arguments of reg, as the installer passes them.
struct RegRequest {
    Text product;                     // ProductName
    Text folder;                      // installation folder, with or without a trailing "\"
    std::optional<Text> mainProgram;  // null pointer: no main program was installed
    int menuFlag = 0;
    int desktopFlag = 0;
    int uninstallFlag = 0;
};

// Where the current user's shell folders are; empty when unknown.
struct ShellPlaces {
    Text programsFolder;  // the Start menu's Programs folder
    Text desktopFolder;
};

struct Shortcut {
    Text link;    // full path of the .lnk file
    Text target;
    bool operator==(const Shortcut&) const = default;
};

struct RegPlan {
    Text menuFolder;                  // empty: no Start-menu folder
    std::vector<Shortcut> shortcuts;  // the menu folder's, then the desktop's
    Text recordFile;                  // folder + "uninstall.ini"
};

// Section of the uninstall record where reg lists what it made, so that
// the uninstaller removes it too: shortcuts first, then the menu folder.
constexpr const char* RegSection = "reg";

RegPlan PlanReg(const RegRequest& request, const ShellPlaces& places);

// What carrying out a plan needs from the system.
class RegSystem {
public:
    virtual ~RegSystem() = default;
    virtual bool createFolder(const Text& path) = 0;  // one level
    virtual bool folderExists(const Text& path) = 0;
    virtual bool makeShortcut(const Text& link, const Text& target) = 0;
    virtual bool writeRecord(const Text& file, const Text& section, const Text& key, const Text& value) = 0;
};

// Makes the folder and the shortcuts of the plan and lists what it made in
// the record. Failures are not reported: what could not be made is left
// out of the record.
void CarryOut(const RegPlan& plan, RegSystem& system);

// Joins a folder and a name with one "\" between them.
Text JoinPath(const Text& folder, const Text& name);

}  // namespace setupdll
