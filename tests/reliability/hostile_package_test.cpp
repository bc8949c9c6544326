// Packages no builder writes: lengths past the end of the file, negative
// lengths, parent loops in the folder tree, names that climb out of the
// installation folder or name a drive or a root, menu entries outside the
// Programs folder. Each ends the installer with one clear message, and
// nothing is written outside the installation folder.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "install_run.h"
#include "package_variants.h"

namespace {

using pkgbuild::Package;

const std::string Damaged = "数据文件“C:\\Work\\setup.pkg”已损坏或不完整!";
const std::string Malformed = "数据文件“C:\\Work\\setup.pkg”格式错误!";
std::string Outside(const std::string& name) {
    return "数据文件“C:\\Work\\setup.pkg”中的路径“" + name + "”不在安装目录内!";
}

// The package with a 32-bit value written over the four bytes just before
// the first occurrence of marker (the length that leads it).
std::string PatchLength(const Package& p, const std::string& marker, int32_t value) {
    std::string bytes = pkgbuild::WritePackage(p);
    size_t at = bytes.find(marker);
    if (at == std::string::npos || at < 4) {
        ADD_FAILURE() << "no marker " << marker;
        return bytes;
    }
    std::memcpy(&bytes[at - 4], &value, 4);
    return bytes;
}

Package WithFile(pkgbuild::StoredFile f) {
    Package p = variants::Probe();
    p.storedFiles.insert(p.storedFiles.begin() + 1, f);
    return p;
}
Package WithTree(std::vector<pkgbuild::TreeEntry> tree) {
    Package p = variants::Probe();
    p.tree = std::move(tree);
    return p;
}
Package WithMenu(pkgbuild::MenuEntry e) {
    Package p = variants::Probe();
    p.menuEntries.push_back(e);
    return p;
}

struct Case {
    const char* what;
    std::function<std::string()> package;
    std::string message;
};

TEST(HostilePackage, EachEndsWithItsMessageAndWritesNothingOutside) {
    const pkgbuild::StoredFile marked{0, "@@name@@", "@@parm@@", false, -1, "@@data@@"};
    const std::vector<Case> cases = {
        {"content longer than the file", [&] { return PatchLength(WithFile(marked), "@@data@@", 1 << 30); },
         Damaged},
        {"content of the largest length", [&] { return PatchLength(WithFile(marked), "@@data@@", INT32_MAX); },
         Damaged},
        {"name longer than the file", [&] { return PatchLength(WithFile(marked), "@@name@@", 1 << 30); },
         Damaged},
        {"negative name length", [&] { return PatchLength(WithFile(marked), "@@name@@", -5); }, Malformed},
        {"negative parameter length", [&] { return PatchLength(WithFile(marked), "@@parm@@", INT32_MIN); },
         Malformed},
        {"tree name longer than the file",
         [] { return PatchLength(WithTree({{0, 1, "@@tree@@", "x"}}), "@@tree@@", 1 << 30); }, Damaged},
        {"negative tree name length",
         [] { return PatchLength(WithTree({{0, 1, "@@tree@@", "x"}}), "@@tree@@", -1); }, Malformed},
        {"negative tree data length",
         [] { return PatchLength(WithTree({{0, 1, "t.txt", "@@tdat@@"}}), "@@tdat@@", -100); }, Malformed},
        {"tree data longer than the file",
         [] { return PatchLength(WithTree({{0, 1, "t.txt", "@@tdat@@"}}), "@@tdat@@", 1 << 30); }, Damaged},
        {"parent is the entry itself",
         [] { return pkgbuild::WritePackage(WithTree({{1, 0, "loop", ""}})); }, Malformed},
        {"parents in a loop",
         [] { return pkgbuild::WritePackage(WithTree({{0, 0, "a", ""}, {3, 0, "b", ""}, {2, 0, "c", ""}})); },
         Malformed},
        {"negative parent", [] { return pkgbuild::WritePackage(WithTree({{-1, 0, "a", ""}})); }, Malformed},
        {"parent past the table",
         [] { return pkgbuild::WritePackage(WithTree({{0, 0, "a", ""}, {INT32_MAX, 1, "f", "x"}})); },
         Malformed},
        {"file name climbing out",
         [] { return pkgbuild::WritePackage(WithFile({0, "..\\..\\evil.txt", "", false, -1, "x"})); },
         Outside("..\\..\\evil.txt")},
        {"file name climbing out with slashes",
         [] { return pkgbuild::WritePackage(WithFile({0, "sub/../../evil.txt", "", false, -1, "x"})); },
         Outside("sub/../../evil.txt")},
        {"file name with a drive",
         [] { return pkgbuild::WritePackage(WithFile({0, "C:\\WINDOWS\\evil.txt", "", false, -1, "x"})); },
         Outside("C:\\WINDOWS\\evil.txt")},
        {"file name from the root",
         [] { return pkgbuild::WritePackage(WithFile({0, "\\evil.txt", "", false, -1, "x"})); },
         Outside("\\evil.txt")},
        {"outside file taken from above the current folder",
         [] { return pkgbuild::WritePackage(WithFile({0, "..\\Tool\\setup.dll", "", true, -1, ""})); },
         Outside("..\\Tool\\setup.dll")},
        {"tree name ..", [] { return pkgbuild::WritePackage(WithTree({{0, 0, "..", ""}, {1, 1, "x", "x"}})); },
         Outside("..")},
        {"tree name with a path",
         [] { return pkgbuild::WritePackage(WithTree({{0, 1, "..\\evil.txt", "x"}})); },
         Outside("..\\evil.txt")},
        {"tree name with a drive", [] { return pkgbuild::WritePackage(WithTree({{0, 1, "D:evil", "x"}})); },
         Outside("D:evil")},
        {"menu link climbing out",
         [] { return pkgbuild::WritePackage(WithMenu({"..\\..\\..\\WINDOWS\\evil", "probe.exe", 1})); },
         Outside("..\\..\\..\\WINDOWS\\evil")},
        {"menu link with a drive",
         [] { return pkgbuild::WritePackage(WithMenu({"C:\\WINDOWS\\evil", "probe.exe", 1})); },
         Outside("C:\\WINDOWS\\evil")},
        {"menu folder climbing out",
         [] { return pkgbuild::WritePackage(WithMenu({"Probe Suite\\x", "..\\..\\evil", 0})); },
         Outside("..\\..\\evil")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::Machine m;
        reliability::PreparePc(m, c.package());
        reliability::InstallOutcome o = reliability::RunInstaller(m);
        EXPECT_TRUE(o.wizardOpened);
        EXPECT_TRUE(o.ended);
        EXPECT_FALSE(o.finished);
        EXPECT_EQ(o.boxes, std::vector<std::string>{c.message});
        EXPECT_EQ(o.outside, std::vector<std::string>{});
    }
}

// Lengths in the descriptive part that the file cannot hold: the fields
// keep their initial values and the run still ends cleanly, inside the
// installation folder.
TEST(HostilePackage, DescriptiveLengthsPastTheEndOrNegative) {
    for (int32_t length : {INT32_MAX, 1 << 30, -1, INT32_MIN}) {
        for (const char* marker : {"@@product@@", "@@licence@@", "@@folder@@"}) {
            SCOPED_TRACE(std::string(marker) + " " + std::to_string(length));
            Package p = variants::Probe();
            p.productName = "@@product@@";
            p.licenseText = "@@licence@@";
            p.defaultFolder = "@@folder@@";
            headless::Machine m;
            reliability::PreparePc(m, PatchLength(p, marker, length));
            reliability::InstallOutcome o = reliability::RunInstaller(m);
            EXPECT_TRUE(o.ended);
            EXPECT_TRUE(o.wizardOpened);
            EXPECT_EQ(o.outside, std::vector<std::string>{});
            EXPECT_LE(o.boxes.size(), 1u);
        }
    }
}

}  // namespace

namespace {

// Names longer than a file system takes in one path component (found by the
// package fuzzer: a menu link of a few thousand bytes). A file or shortcut
// that cannot be made is handled like any other that cannot: a stored file
// ends the installer with the create-file message, a shortcut or a folder
// fails silently.
TEST(HostilePackage, OverlongNamesFailLikeAnyOtherName) {
    const std::string longName(300, 'n');
    struct Case {
        const char* what;
        Package package;
        std::vector<std::string> boxes;
        bool finished;
    };
    const Case cases[] = {
        {"stored file", WithFile({0, longName, "", false, -1, "x"}),
         {"创建文件“D:\\Apps\\Probe\\" + longName + "”失败!"}, false},
        {"tree file", WithTree({{0, 1, longName, "x"}}), {"创建文件“D:\\Apps\\Probe\\" + longName + "”失败!"}, false},
        {"tree folder", WithTree({{0, 0, longName, ""}}), {}, true},
        {"menu shortcut", WithMenu({"Probe Suite\\" + longName, "probe.exe", 1}), {}, true},
        {"menu shortcut of a few kilobytes", WithMenu({std::string(4000, '\xA3') + "\\x", "probe.exe", 1}), {}, true},
        {"menu folder", WithMenu({"Probe Suite\\x", "Probe Suite\\" + longName, 0}), {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::Machine m;
        reliability::PreparePc(m, pkgbuild::WritePackage(c.package));
        reliability::InstallOutcome o = reliability::RunInstaller(m);
        EXPECT_TRUE(o.ended);
        EXPECT_EQ(o.finished, c.finished);
        EXPECT_EQ(o.boxes, c.boxes);
        EXPECT_EQ(o.outside, std::vector<std::string>{});
    }
}

}  // namespace
