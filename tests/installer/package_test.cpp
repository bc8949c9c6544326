// Reading the package: the header checks, the descriptive fields by
// format version, and the value readers' whole-or-nothing rule.
#include <gtest/gtest.h>

#include "front/package.h"
#include "headless/session.h"
#include "package_writer.h"

using namespace installer;
using testpkg::Counted;
using testpkg::Int32;
using testpkg::Zero;

namespace {

struct PackageRead : ::testing::Test {
    headless::Machine machine;
    headless::Session session{machine};
    platform::Files& files = session.services().files();

    LoadResult load(const std::string& bytes, PackageInfo& info) {
        machine.writeFile("C:\\Work\\p.pkg", bytes);
        return LoadPackage(files, "C:\\Work\\p.pkg", info);
    }
    std::unique_ptr<platform::File> open(const std::string& bytes) {
        machine.writeFile("C:\\Work\\v.bin", bytes);
        return files.openRead("C:\\Work\\v.bin");
    }
};

testpkg::Package WithMenu(int32_t version) {
    testpkg::Package p;
    p.version = version;
    p.programShortcutOn = 1;
    p.menu = {{"App", "App", 0}, {"App\\App", "app.exe", 1}};
    p.defaultFolder = "  MyApp  ";
    p.runAfterOn = 1;
    return p;
}

TEST_F(PackageRead, FieldsTwentyOneAndTwentyTwoDependOnTheFormatVersion) {
    struct Case {
        int32_t version;
        bool shortcut;
        size_t entries;
    } cases[] = {{0, false, 0}, {1, false, 0}, {2, false, 0}, {3, false, 2}, {4, true, 2}, {-7, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("version " + std::to_string(c.version));
        testpkg::Package p = WithMenu(c.version);
        PackageInfo info;
        ASSERT_EQ(load(p.bytes(), info), LoadResult::Loaded);
        EXPECT_EQ(info.FormatVersion, c.version);
        EXPECT_EQ(info.ProgramShortcutOn, c.shortcut);
        ASSERT_EQ(info.MenuEntryLink.size(), c.entries);
        if (c.entries) {
            EXPECT_EQ(info.MenuEntryLink[1], "App\\App");
            EXPECT_EQ(info.MenuEntryTarget[1], "app.exe");
            EXPECT_EQ(info.MenuEntryKind[1], 1);
        }
        // The fields after the menu are found in every version.
        EXPECT_EQ(info.DefaultFolder, "MyApp");
        EXPECT_TRUE(info.RunAfterOn);
        EXPECT_EQ(info.PayloadOffset, static_cast<int64_t>(p.descriptive().size()));
    }
}

TEST_F(PackageRead, HeaderFailuresAreRefused) {
    testpkg::Package v5;
    v5.version = 5;
    testpkg::Package magic;
    magic.magic = 45872377;
    PackageInfo info;
    EXPECT_EQ(load(v5.bytes(), info), LoadResult::BadHeader);
    EXPECT_EQ(load(magic.bytes(), info), LoadResult::BadHeader);
    EXPECT_EQ(load(Int32(45872376) + "\x04\x00\x00", info), LoadResult::BadHeader);
    EXPECT_EQ(LoadPackage(files, "C:\\Work\\none.pkg", info), LoadResult::NotFound);
    machine.writeFile("C:\\Work\\locked.pkg", testpkg::Package().bytes());
    machine.lock("C:\\Work\\locked.pkg");
    EXPECT_EQ(LoadPackage(files, "C:\\Work\\locked.pkg", info), LoadResult::CannotOpen);
}

TEST_F(PackageRead, APackageCutAfterTheHeaderLoadsWithEmptyFields) {
    PackageInfo info;
    ASSERT_EQ(load(Int32(45872376) + Int32(4) + "\x09\x00", info), LoadResult::Loaded);
    EXPECT_EQ(info.ProductName, "");
    EXPECT_EQ(info.LicenseText, "");
    EXPECT_EQ(info.PromoPlacement, 0);
    EXPECT_FALSE(info.UninstallerOn);
    EXPECT_TRUE(info.MenuEntryLink.empty());
    // The unreadable count stays where it began.
    EXPECT_EQ(info.PayloadOffset, 8);
}

TEST_F(PackageRead, ProductNameIsTrimmedOfBothKindsOfBlank) {
    testpkg::Package p;
    p.product = "\xA1\xA1 My  App \xA1\xA1";
    PackageInfo info;
    ASSERT_EQ(load(p.bytes(), info), LoadResult::Loaded);
    EXPECT_EQ(info.ProductName, "My  App");
}

TEST_F(PackageRead, NonPositiveMenuCountReadsNoEntries) {
    for (int32_t count : {0, -3}) {
        testpkg::Package p = WithMenu(4);
        p.menu.clear();
        p.menuCount = count;
        PackageInfo info;
        ASSERT_EQ(load(p.bytes(), info), LoadResult::Loaded);
        EXPECT_TRUE(info.MenuEntryLink.empty());
        EXPECT_EQ(info.DefaultFolder, "MyApp");
    }
}

TEST_F(PackageRead, CountedTextStopsAtZeroByteButConsumesAllBytes) {
    auto f = open(Counted(std::string("ab\0cd", 5)) + Counted("") + Int32(7));
    EXPECT_EQ(ReadCountedText(*f), "ab");
    EXPECT_EQ(f->position(), 9);
    EXPECT_EQ(ReadCountedText(*f), "");
    EXPECT_EQ(f->position(), 13);
    EXPECT_EQ(ReadInt32(*f), 7);
}

TEST_F(PackageRead, ZeroTextAtTheEndOfTheFile) {
    auto f = open(Zero("") + Zero("one") + "tail");
    EXPECT_EQ(ReadZeroText(*f), "");
    EXPECT_EQ(f->position(), 1);
    EXPECT_EQ(ReadZeroText(*f), "one");
    EXPECT_EQ(ReadZeroText(*f), "tail");  // no zero byte before the end
    EXPECT_EQ(f->position(), 9);
    EXPECT_EQ(ReadZeroText(*f), std::nullopt);  // nothing left
    EXPECT_EQ(f->position(), 9);
}

TEST_F(PackageRead, ValuesThatCannotBeReadWholeLeaveThePositionAlone) {
    auto f = open(Int32(1) + Int32(10) + "short");
    ASSERT_EQ(ReadInt32(*f), 1);
    EXPECT_EQ(ReadByteBlock(*f), std::nullopt);
    EXPECT_EQ(f->position(), 4);
    EXPECT_EQ(ReadCountedText(*f), std::nullopt);
    EXPECT_EQ(f->position(), 4);

    auto negative = open(Int32(-2) + "xx");
    EXPECT_EQ(ReadByteBlock(*negative), std::nullopt);
    EXPECT_EQ(negative->position(), 0);

    auto partial = open("\x01\x02");
    EXPECT_EQ(ReadInt32(*partial), std::nullopt);
    EXPECT_EQ(ReadBool(*partial), std::nullopt);
    EXPECT_EQ(partial->position(), 0);
}

TEST_F(PackageRead, RawReaderTakesWhatIsLeft) {
    auto f = open("abcdef");
    EXPECT_EQ(ReadRaw(*f, 0), "");
    EXPECT_EQ(ReadRaw(*f, -4), "");
    EXPECT_EQ(ReadRaw(*f, 4), "abcd");
    EXPECT_EQ(ReadRaw(*f, 10), "ef");
}

TEST_F(PackageRead, HugeMenuCountInAShortFileDoesNotReserveEntries) {
    testpkg::Package p = WithMenu(4);
    // Cut right after the count, now claiming two billion entries.
    testpkg::Package head = p;
    head.menu.clear();
    head.menuCount = 2000000000;
    std::string cut = head.descriptive();
    cut.resize(cut.size() - (Counted(p.defaultFolder).size() + 5 * 4));
    PackageInfo info;
    ASSERT_EQ(load(cut, info), LoadResult::Loaded);
    EXPECT_LE(info.MenuEntryLink.size(), 1u);
    EXPECT_EQ(info.MenuEntryLink.size(), info.MenuEntryKind.size());
}

}  // namespace
