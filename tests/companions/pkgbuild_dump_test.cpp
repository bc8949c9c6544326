// dump: the readable listing, and where a cut-short package ends.
#include <gtest/gtest.h>

#include "dump.h"
#include "package_reader.h"

using namespace pkgbuild;

namespace {

Package Small() {
    Package p;
    p.formatVersion = 3;
    p.productName = "Demo";
    p.menuEntries = {{"Demo", "Demo", 0}};
    p.storedFiles = {{2, "demo.exe", "", false, -1, "MZ0123456789"}, {6, "x.ocx", "X#y", true, -1, ""},
                     {0, "last.txt", "", false, -1, "0123456789"}};
    p.tree = {{0, 0, "docs", ""}, {1, 1, "a.txt", "hello"}};
    return p;
}

TEST(PkgbuildDump, ListsFieldsAndRecords) {
    std::string b = WritePackage(Small());
    std::string d = DumpPackage(ReadPackage(b), b.size());
    for (const char* line : {
             "  Magic               45872376 (0x02BBF4F8)\n",
             "  FormatVersion       3\n",
             "  ProductName         \"Demo\" (4 bytes)\n",
             "  ProgramShortcutOn   not in FormatVersion 3\n",
             "    #1 folder   link \"Demo\" target \"Demo\" kind 0\n",
             "  #1 kind 2 (main program) name \"demo.exe\" param \"\" size 12\n",
             "  #2 kind 6 (component) name \"x.ocx\" param \"X#y\" size -1 (outside: copied from the installer's current folder)\n",
             "  #2 parent 1 file   \"a.txt\" 5 bytes -> \"docs\\a.txt\"\n",
             "Complete\n",
         })
        EXPECT_NE(d.find(line), std::string::npos) << line << "\nin\n" << d;
}

struct CutCase {
    size_t keep;        // bytes kept from the start
    std::string where;  // the problem text
};

TEST(PkgbuildDump, SaysWhereACutShortPackageEnds) {
    std::string b = WritePackage(Small());
    ReadOutcome whole = ReadPackage(b);
    size_t payload = static_cast<size_t>(whole.payloadOffset);
    // Payload: count(4) | rec1: kind 4, len 4, "demo.exe" 8, len 4, size 4, content 12 ...
    const CutCase cases[] = {
        {3, std::string("the package ends at offset 3 inside Magic (started at offset 0, needs 4 bytes, 3 left)")},
        {14, std::string("the package ends at offset 14 inside ProductName (started at offset 8, needs 8 bytes, 6 left)")},
        {payload + 4 + 24 + 5,
         "the package ends at offset " + std::to_string(payload + 33) + " inside stored file 1 content (started at offset " +
             std::to_string(payload + 28) + ", needs 12 bytes, 5 left)"},
        {b.size() - 2, "the package ends at offset " + std::to_string(b.size() - 2) +
                           " inside tree entry 2 EntryData (started at offset " + std::to_string(b.size() - 9) +
                           ", needs 9 bytes, 7 left)"},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.keep);
        std::string cut = b.substr(0, c.keep);
        ReadOutcome r = ReadPackage(cut);
        EXPECT_FALSE(r.complete);
        EXPECT_EQ(r.problem, c.where);
        std::string d = DumpPackage(r, cut.size());
        EXPECT_NE(d.find("NOT READABLE: " + c.where), std::string::npos) << d;
        // Fields that were not read whole are not listed as if they were.
        if (c.keep < 20) {
            EXPECT_EQ(d.find("  ProductName  "), std::string::npos) << d;
        }
    }
}

TEST(PkgbuildDump, InsideTheMenuAZeroTextWithoutItsZeroIsNamed) {
    std::string b = WritePackage(Small());
    size_t link = 8 + 80 + 4 + 4;  // header, fields 1-20 with "Demo" (4 more bytes), the menu count
    ASSERT_EQ(b.substr(link, 5), std::string("Demo\0", 5));
    ReadOutcome r = ReadPackage(b.substr(0, link + 2));
    EXPECT_EQ(r.problem, "the package ends at offset " + std::to_string(link + 2) +
                             " inside menu entry 1 MenuEntryLink (started at offset " + std::to_string(link) +
                             ", no closing zero byte)");
    EXPECT_EQ(r.payloadOffset, -1);
}

TEST(PkgbuildDump, RefusedHeadersAndMalformedLengths) {
    Package p = Small();
    p.formatVersion = 5;
    EXPECT_EQ(ReadPackage(WritePackage(p)).problem,
              "FormatVersion is 5, above 4; the installer refuses this package");
    p.magic = 1;
    EXPECT_EQ(ReadPackage(WritePackage(p)).problem, "Magic is 1, not 45872376; this is not a package");

    std::string b = WritePackage(Small());
    b[8] = '\xFF', b[9] = '\xFF', b[10] = '\xFF', b[11] = '\xFF';  // ProductName length -1
    EXPECT_EQ(ReadPackage(b).problem, "ProductName at offset 8 has the negative length -1; the package is malformed");

    std::string extra = WritePackage(Small()) + "xyz";
    ReadOutcome r = ReadPackage(extra);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.trailingBytes, 3);
    EXPECT_NE(DumpPackage(r, extra.size()).find("3 bytes after the folder tree are ignored"), std::string::npos);
}

}  // namespace
