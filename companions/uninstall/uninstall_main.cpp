#include "uninstall_main.h"

#include "components.h"
#include "removal.h"
#include "reg_plan.h"
#include "uninstall_record.h"

namespace uninstall {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

const char* const Caption = "Uninstall";
constexpr size_t MostLinesShown = 30;

Text Join(const Text& folder, const Text& name) { return setupdll::JoinPath(folder, name); }

// The installed files are the record's entries inside the installation
// folder that come before its uninstall.exe entry, in the order the
// installer wrote them; the stored-file records come first among them, so
// component number i is the i-th of these paths.
Text ComponentPath(const UninstallRecord& rec, const Text& installDir, int number) {
    Text folderKey = platform::LowerAscii(Join(installDir, ""));
    Text uninstaller = platform::LowerAscii(Join(installDir, "uninstall.exe"));
    int seen = 0;
    for (const Text& path : rec.uninstall) {
        Text key = platform::LowerAscii(path);
        if (key == uninstaller) break;
        if (key.rfind(folderKey, 0) == 0 && ++seen == number) return path;
    }
    return "";
}

std::vector<Text> UnregisterComponents(platform::Services& s, const UninstallRecord& rec, const Text& installDir) {
    std::vector<Text> failures;
    for (const auto& [number, name] : rec.ocx) {
        Text path = ComponentPath(rec, installDir, number);
        setupdll::ServerCall result = setupdll::ServerCall::NotLoaded;
        if (!path.empty() && s.files().exists(path))
            result = setupdll::CallServerEntry(s.libraries(), path, "DllUnregisterServer");
        if (result != setupdll::ServerCall::Done)
            failures.push_back("component “" + name + "” (" + (path.empty() ? Text("no file recorded") : path) +
                               "): not unregistered");
    }
    return failures;
}

std::vector<Text> DeleteUninstallEntries(platform::Services& s, const UninstallRecord& rec) {
    std::vector<Text> failures;
    for (const Text& key : rec.unreg) {
        bool gone = IsProductUninstallKey(key) && s.registry().deleteKey(platform::Hive::LocalMachine, key);
        if (!gone && IsProductUninstallKey(key)) {
            // Not deleted: fine when there was nothing to delete.
            auto& r = s.registry();
            gone = !r.readString(platform::Hive::LocalMachine, key, "UninstallString") &&
                   !r.readString(platform::Hive::LocalMachine, key, "DisplayName");
        }
        if (!gone) failures.push_back("registry key HKEY_LOCAL_MACHINE\\" + key);
    }
    return failures;
}

Text FailureList(const std::vector<Text>& lines) {
    Text list;
    for (size_t i = 0; i < lines.size() && i < MostLinesShown; ++i) list += "\r\n" + lines[i];
    if (lines.size() > MostLinesShown)
        list += "\r\n… and " + std::to_string(lines.size() - MostLinesShown) + " more";
    return list;
}

}  // namespace

int UninstallMain(platform::Services& s) {
    platform::Ui& ui = s.ui();
    Text ownFolder = s.files().runDirectory();
    Text recordFile = Join(ownFolder, "uninstall.ini");
    if (!s.files().exists(recordFile)) {
        ui.messageBox(nullptr, "The uninstall record “" + recordFile + "” was not found, so nothing can be removed.",
                      Caption, Icon::Error, Buttons::Ok);
        return 1;
    }
    UninstallRecord rec = ReadUninstallRecord(s.registry(), recordFile);
    Text installDir = rec.installDir.empty() ? ownFolder : rec.installDir;
    Text title = ProductTitle(rec, installDir);

    if (ui.messageBox(nullptr, "Do you want to remove “" + title + "” and all of its components from this computer？",
                      Caption, Icon::Question, Buttons::YesNo, 1) != Answer::Yes)
        return 2;

    std::vector<Text> failures = UnregisterComponents(s, rec, installDir);

    std::vector<Text> paths = rec.uninstall;
    paths.insert(paths.end(), rec.reg.begin(), rec.reg.end());
    if (!rec.linkFileName.empty()) paths.push_back(rec.linkFileName);
    Removal removal = RemovePaths(s.files(), paths, {Join(ownFolder, "uninstall.exe"), recordFile});
    failures.insert(failures.end(), removal.notRemoved.begin(), removal.notRemoved.end());

    std::vector<Text> keyFailures = DeleteUninstallEntries(s, rec);
    failures.insert(failures.end(), keyFailures.begin(), keyFailures.end());

    Text windows = s.shell().windowsDirectory();
    Text cleanup = CleanupCommand(removal, windows);
    if (!cleanup.empty()) {
        // Run outside every folder it removes.
        if (!s.processes().start(cleanup, windows.empty() ? Text("C:\\") : windows)) {
            failures.insert(failures.end(), removal.scheduledFiles.begin(), removal.scheduledFiles.end());
            failures.insert(failures.end(), removal.scheduledFolders.begin(), removal.scheduledFolders.end());
        }
    }

    if (failures.empty()) {
        ui.messageBox(nullptr, "“" + title + "” has been removed from this computer.", Caption, Icon::Information,
                      Buttons::Ok);
        return 0;
    }
    ui.messageBox(nullptr,
                  "“" + title + "” has been removed, except for the following, which could not be removed:\r\n" +
                      FailureList(failures),
                  Caption, Icon::Warning, Buttons::Ok);
    return 1;
}

}  // namespace uninstall
