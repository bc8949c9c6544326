// Faults while the installer writes: the target disk fills up partway
// through the payload, and target files are held open by another program.
// Each run ends with the installer's exact message, and a walk of the whole
// disk shows what it left: files of the package inside the installation
// folder only, and, when the fault came during the registration, the menu
// shortcuts the registration had made before it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "install_run.h"
#include "package_variants.h"

namespace {

using reliability::InstallOutcome;

const std::string Folder = "D:\\Apps\\Probe\\";
const std::string FolderHost = "D/Apps/Probe/";
const std::string ProgramsHost = "C/Users/user/Programs/";

// The disk is full from the n-th write call to `from` on: that call and
// every later write, to any file, fail.
std::function<void(headless::Machine&)> DiskFullAt(const std::string& from, int n = 1) {
    return [from, n](headless::Machine& m) {
        auto calls = std::make_shared<int>(0);
        auto full = std::make_shared<bool>(false);
        m.failWrite = [from, n, calls, full](const std::string& path) {
            if (path == from && ++*calls >= n) *full = true;
            return *full;
        };
    };
}
std::function<void(headless::Machine&)> Locked(const std::string& path) {
    return [path](headless::Machine& m) { m.lock(path); };
}

// The probe package with a file of three megabytes, written in chunks of one.
pkgbuild::Package WithBigFile() {
    pkgbuild::Package p = variants::Probe();
    p.storedFiles.insert(p.storedFiles.begin() + 1, {0, "big.bin", "", false, -1, std::string(3 << 20, 'B')});
    return p;
}
// The probe package with a file the installer copies from its current folder.
pkgbuild::Package WithOutsideFile() {
    pkgbuild::Package p = variants::Probe();
    p.storedFiles.push_back({0, "outside.dat", "", true, -1, ""});
    return p;
}

bool Under(const std::string& path, const std::string& folder) { return path.rfind(folder, 0) == 0; }

struct FaultCase {
    const char* what;
    pkgbuild::Package package;
    std::function<void(headless::Machine&)> fault;
    std::string message;
    bool registration;     // the fault came during the registration
    bool componentRecord;  // gauge.ocx had been copied and registered before it
    // The state of the target file the fault hit ("" none), after the run.
    std::string hit;
    std::optional<std::string> hitBytes;
};

class WriteFaults : public ::testing::Test {
protected:
    // A previous version of the product in the folder: the program, its
    // uninstaller and its uninstall record.
    void previousInstall(headless::Machine& m) {
        m.writeFile(Folder + "probe.exe", "MZ old probe");
        m.writeFile(Folder + "docs\\a.txt", "old a");
        m.writeFile(Folder + "outside.dat", "old outside");
        m.writeFile(Folder + "uninstall.exe", "MZ old uninstaller");
        m.writeFile(Folder + "uninstall.ini", "[uninstall]\r\n1=" + Folder + "probe.exe\r\n");
    }
};

TEST_F(WriteFaults, EachEndsWithItsMessageAndLeavesOnlyPackageFilesInTheFolder) {
    const FaultCase cases[] = {
        {"disk full at the second stored file", variants::Probe(), DiskFullAt(Folder + "gauge.ocx"),
         "写出文件“D:\\Apps\\Probe\\gauge.ocx”失败!", false, false, Folder + "gauge.ocx", ""},
        {"disk full within a big file, after its first megabyte", WithBigFile(), DiskFullAt(Folder + "big.bin", 2),
         "写出文件“D:\\Apps\\Probe\\big.bin”失败!", false, false, Folder + "big.bin", std::string(1 << 20, 'B')},
        {"disk full at a file of the tree", variants::Probe(), DiskFullAt(Folder + "docs\\deep\\deeper\\b.txt"),
         "写出文件“D:\\Apps\\Probe\\docs\\deep\\deeper\\b.txt”失败!", false, true, Folder + "docs\\deep\\deeper\\b.txt", ""},
        {"disk full at a file copied from outside", WithOutsideFile(), DiskFullAt(Folder + "outside.dat"),
         "Copy“D:\\Apps\\Probe\\outside.dat”file failure!", false, true, Folder + "outside.dat", "old outside"},
        {"running program locked", variants::Probe(), Locked(Folder + "probe.exe"),
         "创建文件“D:\\Apps\\Probe\\probe.exe”失败!", false, false, Folder + "probe.exe", "MZ old probe"},
        {"file of the tree locked", variants::Probe(), Locked(Folder + "docs\\a.txt"),
         "创建文件“D:\\Apps\\Probe\\docs\\a.txt”失败!", false, true, Folder + "docs\\a.txt", "old a"},
        {"file copied from outside locked", WithOutsideFile(), Locked(Folder + "outside.dat"),
         "Copy“D:\\Apps\\Probe\\outside.dat”file failure!", false, true, Folder + "outside.dat", "old outside"},
        {"old uninstaller locked", variants::Probe(), Locked(Folder + "uninstall.exe"),
         "Copy“D:\\Apps\\Probe\\uninstall.exe”file failure!", true, true, Folder + "uninstall.exe", "MZ old uninstaller"},
        {"disk full at the uninstaller", variants::Probe(), DiskFullAt(Folder + "uninstall.exe"),
         "Copy“D:\\Apps\\Probe\\uninstall.exe”file failure!", true, true, Folder + "uninstall.exe", "MZ old uninstaller"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        headless::Machine m;
        reliability::PreparePc(m, pkgbuild::WritePackage(c.package));
        previousInstall(m);
        InstallOutcome o = reliability::RunInstaller(m, c.fault);
        EXPECT_TRUE(o.wizardOpened);
        EXPECT_TRUE(o.ended);
        EXPECT_FALSE(o.finished);
        EXPECT_EQ(o.boxes, std::vector<std::string>{c.message});
        EXPECT_EQ(m.readFile(c.hit), c.hitBytes) << c.hit;

        // Nothing outside the folder, except the menu shortcuts of a
        // registration that had begun.
        for (const std::string& f : o.changed) {
            bool shortcut = c.registration && Under(f, ProgramsHost + "Probe Suite/") &&
                            f.size() > 4 && f.compare(f.size() - 4, 4, ".lnk") == 0;
            EXPECT_TRUE(Under(f, FolderHost) || shortcut) << f;
        }
        if (c.registration) {
            EXPECT_TRUE(m.fileExists("C:\\Users\\user\\Programs\\Probe Suite\\Settings.lnk"));
        } else {
            EXPECT_FALSE(m.folderExists("C:\\Users\\user\\Programs\\Probe Suite"));
        }
        // The old record was removed before the copying. What stands in its
        // place is the component record that the registration of gauge.ocx
        // writes right after copying it, and, when the registration had
        // begun, the menu entries and the Info section written while the
        // menu was made; never the installed files, and no system uninstall
        // entry.
        const std::string componentRecord = "[ocx]\r\n2=ProbeGauge\r\n";
        const std::string menuRecords =
            "[uninstall]\r\n"
            "1=C:\\Users\\user\\Programs\\Probe Suite\\Probe Suite.lnk\r\n"
            "2=C:\\Users\\user\\Programs\\Probe Suite\\Docs.lnk\r\n"
            "3=C:\\Users\\user\\Programs\\Probe Suite\\Settings.lnk\r\n"
            "4=C:\\Users\\user\\Programs\\Probe Suite\r\n"
            "5=C:\\Users\\user\\Programs\\Probe Suite\\uninstall.lnk\r\n"
            "6=C:\\Users\\user\\Programs\\Probe Suite\r\n"
            "[Info]\r\ntitle=Probe Suite\r\nInstallDir=D:\\Apps\\Probe\r\n"
            "LinkFileName=C:\\Users\\user\\Desktop\\Probe Suite.lnk\r\n";
        if (c.componentRecord) {
            EXPECT_EQ(m.readFile(Folder + "uninstall.ini"),
                      componentRecord + (c.registration ? menuRecords : std::string()));
            EXPECT_EQ(o.gone, std::vector<std::string>{});
        } else {
            EXPECT_FALSE(m.fileExists(Folder + "uninstall.ini"));
            EXPECT_EQ(o.gone, std::vector<std::string>{FolderHost + "uninstall.ini"});
        }
        EXPECT_EQ(m.registry.count({static_cast<int>(platform::Hive::LocalMachine),
                                    "software\\microsoft\\windows\\currentversion\\uninstall\\probe suite"}),
                  0u);
        EXPECT_TRUE(m.fileExists(reliability::PackagePath));
    }
}

}  // namespace

// The old uninstall record held open by another program: it cannot be
// deleted before the copying, and the new records cannot be written into it
// either. Writing records fails silently, so the installation finishes, the
// old record stays as it was and nothing is merged into it.
TEST_F(WriteFaults, LockedOldRecordStaysUnchangedAndTheInstallFinishes) {
    headless::Machine m;
    reliability::PreparePc(m, pkgbuild::WritePackage(variants::Probe()));
    previousInstall(m);
    std::string old = *m.readFile(Folder + "uninstall.ini");
    InstallOutcome o = reliability::RunInstaller(m, Locked(Folder + "uninstall.ini"));
    EXPECT_TRUE(o.finished);
    EXPECT_EQ(o.boxes, std::vector<std::string>{});
    EXPECT_EQ(m.readFile(Folder + "uninstall.ini"), old);
    EXPECT_EQ(o.outside, std::vector<std::string>{});
    EXPECT_EQ(m.readFile(Folder + "probe.exe"), "MZ probe");
}
