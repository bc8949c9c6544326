#include "removal.h"

#include <algorithm>
#include <set>

namespace uninstall {

namespace {

Text Key(const Text& path) { return platform::LowerAscii(path); }

Text Join(const Text& folder, const Text& name) {
    return platform::EndsWithCharacter(folder, '\\') ? folder + name : folder + "\\" + name;
}

}  // namespace

Removal RemovePaths(platform::Files& files, const std::vector<Text>& paths, const std::vector<Text>& ownFiles) {
    Removal out;
    std::set<Text> own, scheduled;
    for (const Text& f : ownFiles) own.insert(Key(f));

    for (const Text& path : paths) {
        if (own.count(Key(path))) {
            if (files.exists(path) && scheduled.insert(Key(path)).second) out.scheduledFiles.push_back(path);
            continue;
        }
        auto attributes = files.attributes(path);
        if (!attributes) continue;  // gone already
        if (*attributes & platform::AttributeDirectory)
            files.removeFolder(path);
        else
            files.deleteFile(path);
    }

    // What is still there. A folder that holds nothing but what is
    // scheduled goes after the uninstaller, too.
    std::set<Text> seen;
    for (const Text& path : paths) {
        if (!seen.insert(Key(path)).second || own.count(Key(path)) || !files.exists(path)) continue;
        bool onlyScheduled = false;
        if (files.findDirectory(path)) {
            std::vector<Text> inside = files.list(path);
            onlyScheduled = !inside.empty() && std::all_of(inside.begin(), inside.end(), [&](const Text& name) {
                return scheduled.count(Key(Join(path, name))) > 0;
            });
        }
        if (onlyScheduled) {
            out.scheduledFolders.push_back(path);
            scheduled.insert(Key(path));
        } else {
            out.notRemoved.push_back(path);
        }
    }
    return out;
}

Text CleanupCommand(const Removal& removal, const Text& windowsDirectory) {
    if (removal.scheduledFiles.empty() && removal.scheduledFolders.empty()) return "";
    // A full path: never a cmd.exe that lies in the folder being removed.
    Text cmd = windowsDirectory.empty() ? Text("cmd.exe") : "\"" + Join(windowsDirectory, "system32\\cmd.exe") + "\"";
    Text line = cmd + " /s /c \"ping -n 3 127.0.0.1 >nul";
    for (const Text& f : removal.scheduledFiles) line += " & del /f /q \"" + f + "\"";
    for (const Text& d : removal.scheduledFolders) line += " & rd \"" + d + "\"";
    return line + "\"";
}

}  // namespace uninstall
