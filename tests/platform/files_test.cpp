// The sandbox disk behaves like a Windows disk for the programs.
#include <gtest/gtest.h>

#include "headless/session.h"

using namespace platform;

struct SandboxTest : ::testing::Test {
    headless::Machine machine;
    headless::Session session{machine};
    Files& files = session.services().files();
};

TEST_F(SandboxTest, PathsAreWindowsPathsWithDrivesAndCaseFolding) {
    machine.writeFile("D:\\Apps\\Tool.exe", "x");
    EXPECT_TRUE(files.exists("d:\\apps\\tool.EXE"));
    EXPECT_EQ(files.attributes("D:\\Apps"), AttributeDirectory);
    EXPECT_FALSE(files.attributes("D:\\Nothing"));
    machine.currentDirectory = "D:\\Apps";
    EXPECT_TRUE(files.exists("Tool.exe"));
    EXPECT_TRUE(files.exists("\\Apps\\Tool.exe"));
}

TEST_F(SandboxTest, SharingRulesOfOpenFiles) {
    machine.writeFile("C:\\a.bin", "12345");
    auto reader = files.openRead("C:\\a.bin");
    ASSERT_TRUE(reader);
    EXPECT_FALSE(files.create("C:\\a.bin"));  // a reader denies writers
    EXPECT_TRUE(files.openRead("C:\\a.bin"));  // but not other readers
    reader.reset();
    auto writer = files.create("C:\\a.bin");
    ASSERT_TRUE(writer);
    OpenResult why;
    EXPECT_FALSE(files.openRead("C:\\a.bin", &why));
    EXPECT_EQ(why, OpenResult::CannotOpen);
    EXPECT_FALSE(files.openRead("C:\\missing.bin", &why));
    EXPECT_EQ(why, OpenResult::NotFound);
}

TEST_F(SandboxTest, CreateNeedsTheFolderAndFoldersAreOneLevel) {
    EXPECT_FALSE(files.create("C:\\No\\file.txt"));
    EXPECT_FALSE(files.createFolder("C:\\No\\Deeper"));
    EXPECT_TRUE(files.createFolder("C:\\No"));
    EXPECT_FALSE(files.createFolder("C:\\No"));
    EXPECT_TRUE(files.create("C:\\No\\file.txt"));
}

TEST_F(SandboxTest, ProfileStringsAddSectionsAtTheEnd) {
    Registry& reg = session.services().registry();
    machine.makeFolders("C:\\P");
    reg.writeProfileString("C:\\P\\u.ini", "uninstall", "1", "C:\\P\\a.txt");
    reg.writeProfileString("C:\\P\\u.ini", "Info", "title", "App");
    reg.writeProfileString("C:\\P\\u.ini", "uninstall", "2", "C:\\P");
    EXPECT_EQ(*machine.readFile("C:\\P\\u.ini"),
              "[uninstall]\r\n1=C:\\P\\a.txt\r\n2=C:\\P\r\n[Info]\r\ntitle=App\r\n");
    EXPECT_EQ(reg.profileKeys("C:\\P\\u.ini", "UNINSTALL"), (std::vector<Text>{"1", "2"}));
    EXPECT_EQ(reg.readProfileString("C:\\P\\u.ini", "info", "TITLE"), "App");
}
