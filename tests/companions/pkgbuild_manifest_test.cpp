// Bad manifests: every error names its line.
#include <gtest/gtest.h>

#include "manifest.h"
#include "pkgbuild_test_support.h"

using namespace pkgbuild;

namespace {

struct BadCase {
    const char* manifest;  // after a first line "[package]" and a second "ProductName = P"
    const char* error;     // the whole first error
};

TEST(PkgbuildManifest, ErrorsNameTheirLine) {
    const BadCase cases[] = {
        {"GradientOn = maybe",
         "m:3: expected a switch (1/0, yes/no, true/false, on/off), found \"maybe\""},
        {"\nGradientStyle = 12x", "m:4: expected a number, found \"12x\""},
        {"BackColor = #12345", "m:3: a colour is #RRGGBB, found \"#12345\""},
        {"ProductName = Q", "m:3: productname is given twice"},
        {"ReadmeText = a\nReadmeFile = r.txt", "m:4: the readme (ReadmeText or ReadmeFile) is given twice"},
        {"Colour = 1", "m:3: unknown key \"colour\" in [package]"},
        {"LicenseFile = missing.txt", "m:3: cannot read \"missing.txt\""},
        {"SideImage = gradient 0 10 #000000 #FFFFFF", "m:3: a generated picture is 1 to 4096 pixels wide and high"},
        {"SideImage = gradient 10 10 #000000", "m:3: a generated picture is: gradient WIDTH HEIGHT #RRGGBB #RRGGBB"},
        {"just words", "m:3: expected key = value, found \"just words\""},
        {"[extras]\nx = 1", "m:3: unknown section [extras] (known: [package] [menu] [files] [tree])"},
        {"LicenseText = \"open", "m:3: a quoted text is not closed"},
        {"LicenseText = \"bad \\q escape\"", "m:3: unknown escape \\q (known: \\\\ \\\" \\n \\r \\t \\xHH)"},
        {"[menu]\nshortcut = OnlyLink", "m:4: a menu shortcut is: shortcut = LINK | TARGET"},
        {"[menu]\nfolder = A//B", "m:4: the path \"A//B\" has an empty part"},
        {"[menu]\nlink = A", "m:4: unknown menu line \"link\" (known: folder, shortcut, uninstall-link, entry)"},
        {"[files]\nprogram = a.exe", "m:4: unknown file line \"program\" (known: [outside] main, component, file, kind N)"},
        {"[files]\nmain = nowhere.exe", "m:4: cannot read \"nowhere.exe\""},
        {"[files]\nfile = dir", "m:4: \"dir\" is a folder, not a file"},
        {"[files]\nfile = r.txt | ..\\up.txt", "m:4: the path \"..\\up.txt\" may not hold . or .."},
        {"[files]\nfile = r.txt | C:\\abs.txt", "m:4: the path \"C:\\abs.txt\" must be relative"},
        {"[files]\noutside main = a | b | c", "m:4: an outside file is: outside ... = NAME [| PARAM]"},
        {"[tree]\nfile = r.txt | a\nfile = r.txt | A", "m:5: \"A\" is in the tree already"},
        {"[tree]\nfile = r.txt | a\nfolder = a/b", "m:5: \"a\" is a file in the tree"},
        {"[tree]\npack = r.txt", "m:4: \"r.txt\" is not a folder"},
        {"[tree]\nmkdir = x", "m:4: unknown tree line \"mkdir\" (known: folder, file, pack)"},
    };
    ScratchFolder dir;
    dir.write("r.txt", "readme");
    dir.write("dir/inside.txt", "x");
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.manifest);
        ManifestResult r = ParseManifest(std::string("[package]\nProductName = P\n") + c.manifest, dir.root(), "m");
        ASSERT_FALSE(r.errors.empty());
        EXPECT_EQ(r.errors[0].substr(0, std::string(c.error).size()), c.error);
    }
}

TEST(PkgbuildManifest, EveryBadLineIsReportedNotOnlyTheFirst) {
    ScratchFolder dir;
    ManifestResult r = ParseManifest("x = 1\n[package]\nProductName = P\nGradientOn = 2\n\n# fine\nVisualStyle = z\n",
                                     dir.root(), "m");
    ASSERT_EQ(r.errors.size(), 3u);
    EXPECT_EQ(r.errors[0], "m:1: \"x\" stands before the first section");
    EXPECT_EQ(r.errors[1].substr(0, 5), "m:4: ");
    EXPECT_EQ(r.errors[2].substr(0, 5), "m:7: ");
}

TEST(PkgbuildManifest, AMissingProductNameIsAnError) {
    ScratchFolder dir;
    ManifestResult r = ParseManifest("[package]\nFormatVersion = 4\n", dir.root(), "m");
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0], "m: ProductName is missing from [package]");
}

TEST(PkgbuildManifest, DoubleByteTextsSplitOnlyAtSeparatorsOfTheirOwn) {
    ScratchFolder dir;
    // 亅 is 81 7C and 乗 is 81 5C in GBK: their trail bytes are "|" and "\"
    // and must neither split the field nor the path.
    ManifestResult r = ParseManifest("[package]\nProductName = P\n[menu]\nshortcut = 亅乗\\菜单 | a.exe\n", dir.root(), "m");
    ASSERT_TRUE(r.errors.empty()) << r.errors[0];
    ASSERT_EQ(r.package.menuEntries.size(), 1u);
    EXPECT_EQ(r.package.menuEntries[0].link, "\x81\x7C\x81\x5C\\\xB2\xCB\xB5\xA5");
    EXPECT_EQ(r.package.menuEntries[0].target, "a.exe");
}

TEST(PkgbuildManifest, WarningsDoNotStopTheBuild) {
    ScratchFolder dir;
    dir.write("c.ocx", "MZ");
    dir.write("z.txt", std::string("ab\0cd", 5));
    ManifestResult r = ParseManifest("[package]\nProductName = P\nLicenseFile = z.txt\n[files]\ncomponent = c.ocx\n",
                                     dir.root(), "m");
    EXPECT_TRUE(r.errors.empty());
    ASSERT_EQ(r.warnings.size(), 2u);
    EXPECT_EQ(r.warnings[0], "m:3: the licence holds a zero byte; the installer shows only the bytes before it");
    EXPECT_EQ(r.warnings[1], "m:5: component \"c.ocx\" has no parameter; it is copied but not registered");
}

}  // namespace
