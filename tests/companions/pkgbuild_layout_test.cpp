// The byte layout: the field set of each FormatVersion, outside files,
// and the ParentIndex links of a nested tree.
#include <gtest/gtest.h>

#include "manifest.h"
#include "package_reader.h"
#include "pkgbuild_test_support.h"

using namespace pkgbuild;

namespace {

// Header and fields 1 to 20 with empty texts and pictures.
constexpr size_t FixedPart = 8 + 80;

struct VersionCase {
    int32_t version;
    size_t payloadOffset;  // with one menu entry "A" -> "B" where the version has menus
    bool hasProgramShortcut;
    bool hasMenu;
};

TEST(PkgbuildLayout, EachFormatVersionWritesItsFieldSet) {
    const VersionCase cases[] = {
        {0, FixedPart + 4 + 20, false, false},
        {1, FixedPart + 4 + 20, false, false},
        {2, FixedPart + 4 + 20, false, false},
        {3, FixedPart + 4 + (2 + 2 + 4) + 4 + 20, false, true},
        {4, FixedPart + 4 + 4 + (2 + 2 + 4) + 4 + 20, true, true},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE("FormatVersion " + std::to_string(c.version));
        Package p;
        p.formatVersion = c.version;
        p.visualStyle = 0x11223344;
        p.programShortcutOn = c.hasProgramShortcut;
        if (c.hasMenu) p.menuEntries = {{"A", "B", 7}};
        p.defaultFolder = "";
        p.runAfterOn = true;
        std::string b = WritePackage(p);
        // VisualStyle is the last field every version has.
        ASSERT_EQ(Int32At(b, FixedPart - 4), 0x11223344);
        size_t at = FixedPart;
        if (c.hasProgramShortcut) {
            EXPECT_EQ(Int32At(b, at), 1);
            at += 4;
        }
        if (c.hasMenu) {
            EXPECT_EQ(Int32At(b, at), 1);
            EXPECT_EQ(b.substr(at + 4, 4), std::string("A\0B\0", 4));
            EXPECT_EQ(Int32At(b, at + 8), 7);
            at += 12;
        }
        EXPECT_EQ(Int32At(b, at), 0) << "DefaultFolder's length follows";
        EXPECT_EQ(Int32At(b, at + 4 + 16), 1) << "RunAfterOn ends the descriptive part";
        ReadOutcome r = ReadPackage(b);
        EXPECT_TRUE(r.complete) << r.problem;
        EXPECT_EQ(r.payloadOffset, static_cast<int64_t>(c.payloadOffset));
        EXPECT_EQ(r.package, p);
    }
}

TEST(PkgbuildLayout, VersionMismatchesAreManifestErrors) {
    ScratchFolder dir;
    ManifestResult v2 = ParseManifest(
        "[package]\nProductName = P\nFormatVersion = 2\n[menu]\nfolder = A\n", dir.root(), "m");
    ASSERT_EQ(v2.errors.size(), 1u);
    EXPECT_EQ(v2.errors[0], "m:5: menu entries need FormatVersion 3 or later (FormatVersion is 2)");

    ManifestResult v3 = ParseManifest(
        "[package]\nProductName = P\nProgramShortcutOn = 1\nFormatVersion = 3\n", dir.root(), "m");
    ASSERT_EQ(v3.errors.size(), 1u);
    EXPECT_EQ(v3.errors[0], "m:3: ProgramShortcutOn needs FormatVersion 4 (FormatVersion is 3)");

    ManifestResult v5 = ParseManifest("[package]\nProductName = P\nFormatVersion = 5\n", dir.root(), "m");
    ASSERT_EQ(v5.errors.size(), 1u);
    EXPECT_NE(v5.errors[0].find("m:3: FormatVersion 5 is above 4"), std::string::npos);
}

TEST(PkgbuildLayout, AnOutsideFileHasNoContentAndTheNextRecordFollowsItsSize) {
    ScratchFolder dir;
    dir.write("a.txt", "AAA");
    ManifestResult m = ParseManifest(
        "[package]\nProductName = P\nFormatVersion = 2\n[files]\n"
        "file = a.txt\noutside kind 6 = sub\\ext.ocx | Key#x\nfile = a.txt | b.txt\n",
        dir.root(), "m");
    ASSERT_TRUE(m.errors.empty()) << m.errors[0];
    std::string b = WritePackage(m.package);
    size_t at = FixedPart + 1 + 4 + 20;  // ProductName "P", FormatVersion 2, DefaultFolder empty
    EXPECT_EQ(Int32At(b, at), 3);
    at += 4;
    // record 1: kind, name, param, size, content
    EXPECT_EQ(Int32At(b, at), 0);
    EXPECT_EQ(Int32At(b, at + 4), 5);
    EXPECT_EQ(b.substr(at + 8, 5), "a.txt");
    EXPECT_EQ(Int32At(b, at + 13), 0);
    EXPECT_EQ(Int32At(b, at + 17), 3);
    EXPECT_EQ(b.substr(at + 21, 3), "AAA");
    at += 24;
    // record 2: negative size, nothing after it
    EXPECT_EQ(Int32At(b, at), 6);
    EXPECT_EQ(Int32At(b, at + 4), 11);
    EXPECT_EQ(b.substr(at + 8, 11), "sub\\ext.ocx");
    EXPECT_EQ(Int32At(b, at + 19), 5);
    EXPECT_EQ(b.substr(at + 23, 5), "Key#x");
    EXPECT_EQ(Int32At(b, at + 28), -1);
    at += 32;
    // record 3 starts right there
    EXPECT_EQ(Int32At(b, at), 0);
    EXPECT_EQ(b.substr(at + 8, 5), "b.txt");

    ReadOutcome r = ReadPackage(b);
    ASSERT_TRUE(r.complete) << r.problem;
    ASSERT_EQ(r.package.storedFiles.size(), 3u);
    EXPECT_TRUE(r.package.storedFiles[1].outside);
    EXPECT_EQ(r.package.storedFiles[1].outsideSize, -1);
    EXPECT_EQ(r.package.storedFiles[2].content, "AAA");
}

TEST(PkgbuildLayout, ANestedTreeLinksEveryEntryToAnEarlierFolder) {
    ScratchFolder dir;
    dir.write("data/z.txt", "z");
    dir.write("data/sub/deep/d.txt", "d");
    dir.write("data/sub/s.txt", "s");
    dir.write("top.txt", "t");
    ManifestResult m = ParseManifest(
        "[package]\nProductName = P\n[tree]\n"
        "folder = empty\n"
        "pack = data | lib/data\n"
        "file = top.txt | lib/extra/top.txt\n"
        "file = top.txt\n",
        dir.root(), "m");
    ASSERT_TRUE(m.errors.empty()) << m.errors[0];
    const std::vector<TreeEntry>& t = m.package.tree;
    struct Want {
        int32_t parent, kind;
        const char* name;
        const char* path;
    };
    const Want want[] = {
        {0, 0, "empty", "empty"},
        {0, 0, "lib", "lib"},
        {2, 0, "data", "lib\\data"},
        {3, 0, "sub", "lib\\data\\sub"},
        {4, 0, "deep", "lib\\data\\sub\\deep"},
        {5, 1, "d.txt", "lib\\data\\sub\\deep\\d.txt"},
        {4, 1, "s.txt", "lib\\data\\sub\\s.txt"},
        {3, 1, "z.txt", "lib\\data\\z.txt"},
        {2, 0, "extra", "lib\\extra"},
        {9, 1, "top.txt", "lib\\extra\\top.txt"},
        {0, 1, "top.txt", "top.txt"},
    };
    ASSERT_EQ(t.size(), std::size(want));
    for (size_t i = 0; i < t.size(); ++i) {
        SCOPED_TRACE(want[i].path);
        EXPECT_EQ(t[i].parent, want[i].parent);
        EXPECT_EQ(t[i].kind, want[i].kind);
        EXPECT_EQ(t[i].name, want[i].name);
        EXPECT_EQ(TreePath(t, i + 1), want[i].path);
    }
    EXPECT_EQ(t[5].data, "d");

    std::string b = WritePackage(m.package);
    ReadOutcome r = ReadPackage(b);
    ASSERT_TRUE(r.complete) << r.problem;
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.package.tree, t);
    // A folder entry carries no data block: the entry after "empty" starts
    // right after its name.
    size_t first = b.size();
    for (const TreeEntry& e : t) first -= 12 + e.name.size() + (e.kind ? 4 + e.data.size() : 0);
    EXPECT_EQ(Int32At(b, first - 4), 11);  // TreeEntryCount
    EXPECT_EQ(Int32At(b, first + 12 + 5), 0);  // ParentIndex of "lib"
}

TEST(PkgbuildLayout, TheReaderWarnsAboutParentIndexesThatNameNoEarlierFolder) {
    Package p;
    p.tree = {{0, 1, "file", "x"}, {1, 1, "under a file", "y"}, {3, 0, "forward", ""}, {-1, 0, "negative", ""}};
    ReadOutcome r = ReadPackage(WritePackage(p));
    EXPECT_TRUE(r.complete);
    ASSERT_EQ(r.warnings.size(), 3u);
    EXPECT_NE(r.warnings[0].find("tree entry 2 has ParentIndex 1, which names a file"), std::string::npos);
    EXPECT_NE(r.warnings[1].find("tree entry 3 has ParentIndex 3, which names no earlier entry"), std::string::npos);
    EXPECT_NE(r.warnings[2].find("tree entry 4 has ParentIndex -1"), std::string::npos);
    EXPECT_EQ(TreePath(r.package.tree, 3), "");
}

}  // namespace
