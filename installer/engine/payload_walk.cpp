// The payload walk: stored files, then the folder tree, with progress, the
// stop request and the refusal of damaged or unsafe packages.
#include "run_setup.h"

namespace installer {

using namespace platform;

// A path inside the folder it is relative to: no root, no drive, no "..".
bool StaysInside(const Text& relative) {
    if (!relative.empty() && (relative[0] == '\\' || relative[0] == '/')) return false;
    if (FindFirstCharacter(relative, ':') != Text::npos) return false;
    for (const Text& part : SplitCharacters(relative, '\\'))
        for (const Text& piece : SplitCharacters(part, '/'))
            if (piece == "..") return false;
    return true;
}

namespace {

class PayloadWalk {
public:
    PayloadWalk(Installer& app, SetupLists& lists, std::unique_ptr<File> package)
        : app_(app), lists_(lists), package_(std::move(package)) {}

    bool run() {
        if (!storedFiles() || !folderTree()) return false;
        package_.reset();
        return true;
    }

private:
    File& pkg() { return *package_; }

    int32_t number() {
        auto v = ReadInt32(pkg());
        if (!v) PackageDamaged(app_);
        return *v;
    }
    int32_t length() {
        int32_t n = number();
        if (n < 0) PackageMalformed(app_);
        return n;
    }
    std::string run(int32_t n) {
        std::string bytes = ReadRaw(pkg(), n);
        if (bytes.size() != static_cast<size_t>(n)) PackageDamaged(app_);
        return bytes;
    }
    [[noreturn]] void refuseOutside(const Text& name) {
        FatalError(app_, "数据文件“" + app_.package.PackagePath + "”中的路径“" + name +
                             "”不在安装目录内!");
    }
    void mustStayInside(const Text& name) {
        if (!StaysInside(name)) refuseOutside(name);
    }

    void show(const Text& path, int progress) {
        Window& w = *app_.wizard;
        auto& label = w.get<Label>("FileNameLabel");
        label.setText(path);
        label.repaint();
        auto& bar = w.get<ProgressBar>("CopyProgress");
        bar.setPosition(progress);
        bar.repaint();
    }

    // Lets pending events run once, then answers a stop request. false:
    // the user quit; the package is closed and the wizard destroyed.
    bool goOn() {
        app_.sys.ui().processEvents();
        if (!app_.QuitWhileCopying && !app_.CopyRunning) {
            if (AskToStay(app_)) {
                app_.CopyRunning = true;
                return true;
            }
        } else if (!app_.QuitWhileCopying) {
            return true;
        }
        package_.reset();
        app_.CopyRunning = false;
        app_.wizard->destroy();
        return false;
    }

    bool storedFiles() {
        int32_t n = number();
        for (int32_t i = 1; i <= n; ++i) {
            if (!goOn()) return false;
            int32_t kind = number();
            Text name = CutAtZero(run(length()));
            int32_t paramLength = length();
            Text param = CutAtZero(run(paramLength));
            int32_t size = number();
            mustStayInside(name);

            Text destination = app_.InstallFolder + name;
            lists_.InstalledFiles.push_back(destination);
            show(destination, static_cast<int>(i * 50.0 / n));
            if (kind == 2) app_.MainProgram = destination;
            if (size >= 0) {
                WriteFileFromPackage(app_, destination, pkg(), size);
                lists_.InstalledBytes += size;
            } else {
                if (!app_.sys.files().copyFile(name, destination, true))
                    FatalError(app_, "Copy“" + destination + "”file failure!");
                if (auto copied = app_.sys.files().openRead(destination))
                    lists_.InstalledBytes += copied->size();
            }
            if (kind == 6 && paramLength > 0) RegisterComponent(app_, destination, param, i);
        }
        return true;
    }

    bool folderTree() {
        int32_t m = number();
        std::vector<Text> names;
        std::vector<int32_t> parents;
        for (int32_t i = 1; i <= m; ++i) {
            if (!goOn()) return false;
            int32_t parent = number();
            int32_t kind = number();
            Text name = CutAtZero(run(length()));
            // A parent must be an earlier entry, so the walk up ends.
            if (parent < 0 || parent >= i) PackageMalformed(app_);
            // An entry's name is one path part of its own.
            if (FindFirstCharacter(name, '\\') != Text::npos ||
                FindFirstCharacter(name, '/') != Text::npos || !StaysInside(name))
                refuseOutside(name);
            names.push_back(name);
            parents.push_back(parent);

            Text relative;
            for (int32_t p = parent; p > 0; p = parents[p - 1]) relative = names[p - 1] + "\\" + relative;
            Text full = app_.InstallFolder + relative + name;
            show(full, static_cast<int>(i * 50.0 / m + 50));
            if (kind == 0) {
                app_.sys.files().createFolder(full);
                lists_.TreeFolders.push_back(full);
            } else {
                int32_t size = length();
                lists_.InstalledFiles.push_back(full);
                WriteFileFromPackage(app_, full, pkg(), size);
                lists_.InstalledBytes += size;
            }
        }
        return true;
    }

    Installer& app_;
    SetupLists& lists_;
    std::unique_ptr<File> package_;
};

}  // namespace

bool CopyPayload(Installer& app, SetupLists& lists) {
    std::unique_ptr<File> package = OpenPayload(app.sys.files(), app.package);
    if (!package) FatalError(app, "Open data document failure!");
    app.CopyRunning = true;
    if (!PayloadWalk(app, lists, std::move(package)).run()) return false;
    app.CopyRunning = false;
    app.UninstallKey = 0;
    return true;
}

}  // namespace installer
