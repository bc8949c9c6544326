// Registering the product: setup.dll, the program-menu entries, the
// uninstaller, the uninstall record and the system's uninstall entry.
#include "run_setup.h"

namespace installer {

using namespace platform;

namespace {

const Text UninstallRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class Registration {
public:
    Registration(Installer& app, const SetupLists& lists)
        : app_(app), lists_(lists), p_(app.package), I(app.InstallFolder),
          record_(I + "uninstall.ini") {}

    void run() {
        int m = static_cast<int>(p_.MenuEntryLink.size());
        bool menuCase = false;
        int32_t menuFlag = p_.MenuShortcutsOn, uninstallFlag = p_.UninstallerOn;
        if (p_.FormatVersion >= 3 && m == 0) {
            menuFlag = p_.MenuShortcutsOn && p_.ProgramShortcutOn;
        } else if (p_.FormatVersion >= 3 && p_.MenuShortcutsOn) {
            menuFlag = uninstallFlag = 0;
            menuCase = true;
        }
        app_.setupDll.reg(app_, p_.ProductName.c_str(), I.c_str(),
                          app_.MainProgram.empty() ? nullptr : app_.MainProgram.c_str(), menuFlag,
                          p_.DesktopShortcutOn, uninstallFlag);

        if (menuCase) programMenu(m);
        if (uninstallLinkSeen_ || p_.UninstallerOn) moveUninstaller();

        for (const Text& file : lists_.InstalledFiles) addUninstall(file);
        addUninstall(I + "uninstall.exe");
        addUninstall(I + "uninstall.ini");
        for (auto it = lists_.TreeFolders.rbegin(); it != lists_.TreeFolders.rend(); ++it)
            addUninstall(*it);
        for (const Text& folder : lists_.CreatedFolders) addUninstall(folder);

        if (p_.UninstallerOn) systemEntry();
    }

private:
    const Text& L(int d) const { return p_.MenuEntryLink[d - 1]; }
    const Text& T(int d) const { return p_.MenuEntryTarget[d - 1]; }
    int32_t K(int d) const { return p_.MenuEntryKind[d - 1]; }

    void addUninstall(const Text& path) {
        ++app_.UninstallKey;
        app_.sys.registry().writeProfileString(record_, "uninstall",
                                               std::to_string(app_.UninstallKey), path);
    }
    void info(const Text& key, const Text& value) {
        app_.sys.registry().writeProfileString(record_, "Info", key, value);
    }

    void programMenu(int m) {
        Text P = GetProgramsFolder(app_);
        const Text uninstaller = I + "uninstall.exe";
        for (int d = 1; d <= m; ++d) {
            if (PathLastPart(L(d)) == " 卸载文件 " && !p_.UninstallerOn) {
                uninstallLinkSeen_ = true;
                Text folder = P + PathParentPart(L(d));
                MakeShortcut(app_, folder + "\\uninstall", uninstaller);
                addUninstall(folder + "\\uninstall.lnk");
                addUninstall(folder);
            } else if (K(d) == 0) {
                app_.sys.files().createFolder(P + T(d));
            } else {
                MakeShortcut(app_, P + L(d), I + T(d));
            }
        }
        if (p_.ProgramShortcutOn) {
            MakeShortcut(app_, P + L(1) + "\\" + p_.ProductName, app_.MainProgram);
            addUninstall(P + L(1) + "\\" + p_.ProductName + ".lnk");
        }
        if (uninstallLinkSeen_ || p_.UninstallerOn) {
            if (p_.UninstallerOn) {
                if (K(1) == 0)
                    MakeShortcut(app_, P + L(1) + "\\uninstall", uninstaller);
                else
                    MakeShortcut(app_, P + "uninstall", uninstaller);
            }
            info("title", p_.ProductName);
            info("InstallDir", I.substr(0, I.size() - 1));
            if (p_.DesktopShortcutOn) {
                Text desktop = app_.sys.shell().desktopFolder();
                if (!EndsWithCharacter(desktop, '\\')) desktop += "\\";
                info("LinkFileName", desktop + p_.ProductName + ".lnk");
            }
            for (int d = m; d >= 1; --d) addUninstall(K(d) == 0 ? P + T(d) : P + L(d) + ".lnk");
            if (p_.UninstallerOn) {
                if (K(1) == 0) {
                    addUninstall(P + L(1) + "\\uninstall.lnk");
                    addUninstall(P + L(1));
                } else {
                    addUninstall(P + "uninstall.lnk");
                }
            }
        }
        Text opened = K(1) == 0 ? P + L(1) : P;
        app_.sys.processes().start("explorer.exe \"" + opened + "\"");
    }

    void moveUninstaller() {
        Files& files = app_.sys.files();
        if (!files.copyFile("uninstall.exe", I + "uninstall.exe", true))
            FatalError(app_, "Copy“" + I + "uninstall.exe" + "”file failure!");
        files.deleteFile("uninstall.exe");
    }

    void systemEntry() {
        Text key = UninstallRoot + p_.ProductName;
        app_.sys.registry().writeProfileString(record_, "unreg", "1", key);
        Registry& reg = app_.sys.registry();
        reg.writeString(Hive::LocalMachine, key, "DisplayIcon", app_.MainProgram + ",-0");
        reg.writeString(Hive::LocalMachine, key, "DisplayName", p_.ProductName);
        reg.writeString(Hive::LocalMachine, key, "UninstallString", I + "uninstall.exe");
        reg.writeString(Hive::LocalMachine, key, "InstallLocation", I.substr(0, I.size() - 1));
        reg.writeDword(Hive::LocalMachine, key, "EstimatedSize",
                       static_cast<uint32_t>((lists_.InstalledBytes + 1023) / 1024));
    }

    Installer& app_;
    const SetupLists& lists_;
    const PackageInfo& p_;
    const Text I;
    const Text record_;
    bool uninstallLinkSeen_ = false;
};

}  // namespace

void RegisterComponent(Installer& app, const Text& destination, const Text& param, int i) {
    if (app.setupDll.regocx(app, destination.c_str(), param.c_str()) == 0) return;
    size_t hash = FindFirstCharacter(param, '#');
    app.sys.registry().writeProfileString(app.InstallFolder + "uninstall.ini", "ocx",
                                          std::to_string(i),
                                          hash == Text::npos ? param : param.substr(0, hash));
}

void RegistrationPhase(Installer& app, const SetupLists& lists) { Registration(app, lists).run(); }

void RefuseMenuOutside(Installer& app) {
    const PackageInfo& p = app.package;
    for (size_t i = 0; i < p.MenuEntryLink.size(); ++i) {
        // Links and menu folders are made below the Programs folder; the
        // target of a shortcut is only pointed at, never written.
        const Text* bad = !StaysInside(p.MenuEntryLink[i]) ? &p.MenuEntryLink[i]
                          : p.MenuEntryKind[i] == 0 && !StaysInside(p.MenuEntryTarget[i])
                              ? &p.MenuEntryTarget[i]
                              : nullptr;
        if (bad)
            FatalError(app, "数据文件“" + p.PackagePath + "”中的路径“" + *bad + "”不在安装目录内!");
    }
}

Text GetProgramsFolder(Installer& app) {
    auto v = app.sys.registry().readString(
        Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
        "Programs");
    if (!v || v->empty()) return Text();
    return EndsWithCharacter(*v, '\\') ? *v : *v + "\\";
}

void MakeShortcut(Installer& app, const Text& link, const Text& target) {
    Text path = link;
    if (path.size() < 4 || LowerAscii(path.substr(path.size() - 4)) != ".lnk") path += ".lnk";
    std::unique_ptr<AutomationObject> shell = app.sys.shell().createObject("WScript.Shell");
    if (!shell) return;
    std::unique_ptr<AutomationObject> shortcut =
        shell->callForObject("CreateShortcut", {Variant::Of(path)});
    if (!shortcut) return;
    shortcut->setProperty("TargetPath", Variant::Of(target));
    shortcut->call("Save", {});
}

Text PathLastPart(const Text& path) {
    size_t at = FindLastCharacter(path, '\\');
    return at == Text::npos ? path : path.substr(at + 1);
}

Text PathParentPart(const Text& path) {
    size_t at = FindLastCharacter(path, '\\');
    return at == Text::npos ? path : path.substr(0, at);
}

}  // namespace installer
