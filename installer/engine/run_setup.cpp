// The installation routine: the destination folder, then copying,
// registration and the finish page.
#include "run_setup.h"

namespace installer {

using namespace platform;

void BuildFolderChain(Files& files, const Text& folder, std::vector<Text>& createdFolders) {
    Text prefix;
    for (const Text& part : SplitCharacters(folder, '\\')) {
        prefix += part;
        if (prefix.size() > 2) {  // a drive such as C: is never touched
            std::optional<uint32_t> attributes = files.attributes(prefix);
            bool isFolder = attributes && (*attributes & AttributeDirectory);
            if (!files.findDirectory(prefix) && !isFolder) {
                files.createFolder(prefix);
                createdFolders.insert(createdFolders.begin(), prefix);
            }
        }
        prefix += "\\";
    }
}

void RunSetup(Installer& app) {
    Window& w = *app.wizard;
    app.InstallFolder = TrimBlanks(w.get<Edit>("PathEdit").text());
    if (EndsWithCharacter(app.InstallFolder, '\\')) app.InstallFolder.pop_back();
    if (app.InstallFolder.empty()) {
        app.sys.ui().messageBox(&w, "The setup path inputed incapability for empty。", "Error",
                                Icon::Error, Buttons::Ok);
        return;
    }
    RefuseMenuOutside(app);
    w.get<Button>("BackButton").setVisible(false);
    w.get<Button>("NextButton").setVisible(false);
    w.get<TabControl>("PageTabs").setPage(5);

    SetupLists lists;
    BuildFolderChain(app.sys.files(), app.InstallFolder, lists.CreatedFolders);
    if (!EndsWithCharacter(app.InstallFolder, '\\')) app.InstallFolder += "\\";
    Text record = app.InstallFolder + "uninstall.ini";
    if (app.sys.files().exists(record)) app.sys.files().deleteFile(record);

    if (!CopyPayload(app, lists)) return;
    RegistrationPhase(app, lists);
    FinishState(app);
}

}  // namespace installer
