// A manifest with every field set, built and read back.
#include <gtest/gtest.h>

#include "manifest.h"
#include "package_reader.h"
#include "pkgbuild_test_support.h"

using namespace pkgbuild;

namespace {

const char* FullManifest = R"(# every field
[package]
FormatVersion = 4
ProductName = "  Demo 称重  "
ReadmeFile = texts/readme.txt
LicenseText = "line 1\r\nline 2"
GradientOn = yes
GradientStyle = 2
GradientColor1 = #102030
GradientColor2 = #A0B0C0
GradientColor3 = 255
BackPictureOn = true
BackPicture = pics/back.bmp
BackColorOn = on
BackColor = #FFFFFF
CaptionOn = 1
PromoImage = gradient 4 3 #FF0000 #0000FF
PromoPlacement = 7
WizardOnly = 0
SideImage = pics/side.gif
SpareImage = none
VisualStyleOn = 1
VisualStyle = 3
ProgramShortcutOn = 1
DefaultFolder = Demo\App
UnderProgramFiles = 1
UninstallerOn = 1
MenuShortcutsOn = 1
DesktopShortcutOn = 0
RunAfterOn = 1

[menu]
folder = Demo
shortcut = Demo/Demo | bin\demo.exe
uninstall-link = Demo
entry = Raw | raw target | 5

[files]
main = src/demo.exe | bin\demo.exe
component = src/gauge.ocx | gauge.ocx | Gauge#note
file = src/notes.txt
kind 9 = src/notes.txt | other.txt | p
outside file = big.dat
outside component = ext.ocx | Ext

[tree]
folder = docs
file = src/notes.txt | docs\notes.txt
)";

TEST(PkgbuildRoundTrip, EveryFieldComesBackAsWritten) {
    ScratchFolder dir;
    dir.write("texts/readme.txt", "read\r\nme\xB3\xC6");
    dir.write("pics/back.bmp", "BMback");
    dir.write("pics/side.gif", "GIF89a-side");
    dir.write("src/demo.exe", "MZdemo");
    dir.write("src/gauge.ocx", "MZgauge");
    dir.write("src/notes.txt", "notes");
    dir.write("m.manifest", FullManifest);

    ManifestResult m = ParseManifestFile(dir.root() / "m.manifest");
    ASSERT_TRUE(m.errors.empty()) << m.errors[0];
    const Package& p = m.package;

    EXPECT_EQ(p.productName, "  Demo \xB3\xC6\xD6\xD8  ");  // GBK, blanks kept for the installer to trim
    EXPECT_EQ(p.readmeText, "read\r\nme\xB3\xC6");
    EXPECT_EQ(p.licenseText, "line 1\r\nline 2");
    EXPECT_TRUE(p.gradientOn);
    EXPECT_EQ(p.gradientStyle, 2);
    EXPECT_EQ(p.gradientColor1, 0x302010);  // red in the lowest byte
    EXPECT_EQ(p.gradientColor2, 0xC0B0A0);
    EXPECT_EQ(p.gradientColor3, 255);
    EXPECT_TRUE(p.backPictureOn);
    EXPECT_EQ(p.backPicture, "BMback");
    EXPECT_TRUE(p.backColorOn);
    EXPECT_EQ(p.backColor, 0xFFFFFF);
    EXPECT_TRUE(p.captionOn);
    EXPECT_EQ(p.promoImage.substr(0, 2), "BM");
    EXPECT_EQ(p.promoImage.size(), 54u + 3 * 12);  // 4 pixels of 3 bytes per row, rows padded to 4
    EXPECT_EQ(p.promoPlacement, 7);
    EXPECT_FALSE(p.wizardOnly);
    EXPECT_EQ(p.sideImage, "GIF89a-side");
    EXPECT_EQ(p.spareImage, "");
    EXPECT_TRUE(p.visualStyleOn);
    EXPECT_EQ(p.visualStyle, 3);
    EXPECT_TRUE(p.programShortcutOn);
    ASSERT_EQ(p.menuEntries.size(), 4u);
    EXPECT_EQ(p.menuEntries[0], (MenuEntry{"Demo", "Demo", 0}));
    EXPECT_EQ(p.menuEntries[1], (MenuEntry{"Demo\\Demo", "bin\\demo.exe", 1}));
    EXPECT_EQ(p.menuEntries[2], (MenuEntry{"Demo\\ \xD0\xB6\xD4\xD8\xCE\xC4\xBC\xFE ", "uninstall.exe", 1}));
    EXPECT_EQ(p.menuEntries[3], (MenuEntry{"Raw", "raw target", 5}));
    EXPECT_EQ(p.defaultFolder, "Demo\\App");
    EXPECT_TRUE(p.underProgramFiles);
    EXPECT_TRUE(p.uninstallerOn);
    EXPECT_TRUE(p.menuShortcutsOn);
    EXPECT_FALSE(p.desktopShortcutOn);
    EXPECT_TRUE(p.runAfterOn);
    ASSERT_EQ(p.storedFiles.size(), 6u);
    EXPECT_EQ(p.storedFiles[0], (StoredFile{2, "bin\\demo.exe", "", false, -1, "MZdemo"}));
    EXPECT_EQ(p.storedFiles[1], (StoredFile{6, "gauge.ocx", "Gauge#note", false, -1, "MZgauge"}));
    EXPECT_EQ(p.storedFiles[2], (StoredFile{0, "notes.txt", "", false, -1, "notes"}));
    EXPECT_EQ(p.storedFiles[3], (StoredFile{9, "other.txt", "p", false, -1, "notes"}));
    EXPECT_EQ(p.storedFiles[4], (StoredFile{0, "big.dat", "", true, -1, ""}));
    EXPECT_EQ(p.storedFiles[5], (StoredFile{6, "ext.ocx", "Ext", true, -1, ""}));
    ASSERT_EQ(p.tree.size(), 2u);
    EXPECT_EQ(p.tree[0], (TreeEntry{0, 0, "docs", ""}));
    EXPECT_EQ(p.tree[1], (TreeEntry{1, 1, "notes.txt", "notes"}));

    std::string bytes = WritePackage(p);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\xF8\xF4\xBB\x02\x04\0\0\0", 8));
    EXPECT_EQ(Int32At(bytes, 8), static_cast<int32_t>(p.productName.size()));
    EXPECT_EQ(bytes.substr(12, p.productName.size()), p.productName);

    ReadOutcome r = ReadPackage(bytes);
    EXPECT_TRUE(r.complete) << r.problem;
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.trailingBytes, 0);
    EXPECT_EQ(r.package, p);
    // The payload starts with the stored-file count.
    ASSERT_GT(r.payloadOffset, 0);
    EXPECT_EQ(Int32At(bytes, static_cast<size_t>(r.payloadOffset)), 6);
}

TEST(PkgbuildRoundTrip, TheSampleProductBuilds) {
    ManifestResult m = ParseManifestFile(std::filesystem::path(PKGBUILD_SAMPLE) / "demo.manifest");
    ASSERT_TRUE(m.errors.empty()) << m.errors[0];
    EXPECT_TRUE(m.warnings.empty());
    const Package& p = m.package;
    EXPECT_EQ(p.storedFiles.at(0).kind, KindMainProgram);
    EXPECT_EQ(p.storedFiles.at(1).kind, KindComponent);
    EXPECT_FALSE(p.licenseText.empty());
    EXPECT_FALSE(p.readmeText.empty());
    EXPECT_EQ(p.sideImage.substr(0, 2), "BM");
    EXPECT_FALSE(p.menuEntries.empty());
    EXPECT_FALSE(p.tree.empty());
    ReadOutcome r = ReadPackage(WritePackage(p));
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.package, p);
}

}  // namespace
