#include "reg_plan.h"

#include <string>

namespace setupdll {

Text JoinPath(const Text& folder, const Text& name) {
    if (folder.empty()) return name;
    return platform::EndsWithCharacter(folder, '\\') ? folder + name : folder + "\\" + name;
}

RegPlan PlanReg(const RegRequest& request, const ShellPlaces& places) {
    RegPlan plan;
    Text product = platform::TrimBlanks(request.product);
    if (product.empty() || request.folder.empty()) return plan;  // nothing to name the entries after
    plan.recordFile = JoinPath(request.folder, "uninstall.ini");
    bool hasProgram = request.mainProgram && !request.mainProgram->empty();

    if (request.menuFlag != 0 && !places.programsFolder.empty()) {
        plan.menuFolder = JoinPath(places.programsFolder, product);
        if (hasProgram) plan.shortcuts.push_back({JoinPath(plan.menuFolder, product + ".lnk"), *request.mainProgram});
        if (request.uninstallFlag != 0)
            plan.shortcuts.push_back(
                {JoinPath(plan.menuFolder, "uninstall.lnk"), JoinPath(request.folder, "uninstall.exe")});
    }
    // The uninstall record names this file as desktop + ProductName + ".lnk".
    if (request.desktopFlag != 0 && hasProgram && !places.desktopFolder.empty())
        plan.shortcuts.push_back({JoinPath(places.desktopFolder, product + ".lnk"), *request.mainProgram});
    return plan;
}

void CarryOut(const RegPlan& plan, RegSystem& system) {
    std::vector<Text> made;
    bool menuFolderReady = false;
    if (!plan.menuFolder.empty())
        menuFolderReady = system.createFolder(plan.menuFolder) || system.folderExists(plan.menuFolder);
    for (const Shortcut& s : plan.shortcuts) {
        bool inMenu = !plan.menuFolder.empty() && s.link.rfind(plan.menuFolder + "\\", 0) == 0;
        if (inMenu && !menuFolderReady) continue;
        if (system.makeShortcut(s.link, s.target)) made.push_back(s.link);
    }
    if (menuFolderReady) made.push_back(plan.menuFolder);
    int key = 0;
    for (const Text& path : made) system.writeRecord(plan.recordFile, RegSection, std::to_string(++key), path);
}

}  // namespace setupdll
