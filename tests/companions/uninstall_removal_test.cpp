// Removing the record's paths: what goes now, what goes after the
// uninstaller has ended, and what stays.
#include <gtest/gtest.h>

#include "headless/session.h"
#include "removal.h"
#include "uninstall_record.h"

using platform::Text;
using uninstall::Removal;
using uninstall::RemovePaths;

namespace {

class RemovalTest : public ::testing::Test {
protected:
    headless::Machine m;
    headless::Session session{m};
    platform::Files& files() { return session.services().files(); }
    const std::vector<Text> own = {"C:\\A\\B\\uninstall.exe", "C:\\A\\B\\uninstall.ini"};
};

TEST_F(RemovalTest, FoldersHoldingOnlyTheUninstallersFilesGoAfterIt) {
    m.writeFile("C:\\A\\B\\uninstall.exe", "MZ");
    m.writeFile("C:\\A\\B\\uninstall.ini", "[x]");
    m.writeFile("C:\\A\\B\\app.exe", "MZ");
    Removal r = RemovePaths(files(), {"C:\\A\\B\\app.exe", "c:\\a\\b\\UNINSTALL.EXE", "C:\\A\\B\\uninstall.ini",
                                      "C:\\A\\B", "C:\\A"},
                            own);
    EXPECT_FALSE(m.fileExists("C:\\A\\B\\app.exe"));
    EXPECT_EQ(r.scheduledFiles, (std::vector<Text>{"c:\\a\\b\\UNINSTALL.EXE", "C:\\A\\B\\uninstall.ini"}));
    EXPECT_EQ(r.scheduledFolders, (std::vector<Text>{"C:\\A\\B", "C:\\A"}));
    EXPECT_TRUE(r.notRemoved.empty());
    EXPECT_EQ(uninstall::CleanupCommand(r, "C:\\WINDOWS"),
              "\"C:\\WINDOWS\\system32\\cmd.exe\" /s /c \"ping -n 3 127.0.0.1 >nul & del /f /q \"c:\\a\\b\\UNINSTALL.EXE\" & del /f /q "
              "\"C:\\A\\B\\uninstall.ini\" & rd \"C:\\A\\B\" & rd \"C:\\A\"\"");
}

TEST_F(RemovalTest, AnOuterFolderWithOtherContentStays) {
    m.writeFile("C:\\A\\B\\uninstall.exe", "MZ");
    m.writeFile("C:\\A\\other.txt", "mine");
    Removal r = RemovePaths(files(), {"C:\\A\\B\\uninstall.exe", "C:\\A\\B\\uninstall.ini", "C:\\A\\B", "C:\\A"}, own);
    EXPECT_EQ(r.scheduledFiles, (std::vector<Text>{"C:\\A\\B\\uninstall.exe"})) << "a missing own file is not scheduled";
    EXPECT_EQ(r.scheduledFolders, (std::vector<Text>{"C:\\A\\B"}));
    EXPECT_EQ(r.notRemoved, (std::vector<Text>{"C:\\A"}));
}

TEST_F(RemovalTest, PathsAlreadyGoneAreNoFailureAndRepeatedPathsAreReportedOnce) {
    m.writeFile("C:\\M\\Demo\\user.lnk", "lnk");
    m.writeFile("C:\\M\\Demo\\a.lnk", "lnk");
    Removal r = RemovePaths(files(), {"C:\\M\\Demo\\never.lnk", "C:\\M\\Demo", "C:\\M\\Demo\\a.lnk", "C:\\M\\Demo"}, own);
    EXPECT_FALSE(m.fileExists("C:\\M\\Demo\\a.lnk"));
    EXPECT_EQ(r.notRemoved, (std::vector<Text>{"C:\\M\\Demo"}));
    EXPECT_TRUE(r.scheduledFiles.empty());
    EXPECT_EQ(uninstall::CleanupCommand(r, "C:\\WINDOWS"), "");
}

TEST(UninstallRecordKeys, OnlyAProductsEntryUnderTheUninstallKeyIsFollowed) {
    const std::pair<const char*, bool> cases[] = {
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo", true},
        {"software\\microsoft\\windows\\currentversion\\uninstall\\称重 Demo", true},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", false},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\  ", false},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo\\..", false},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {"SOFTWARE", false},
    };
    for (auto [key, ok] : cases) EXPECT_EQ(uninstall::IsProductUninstallKey(key), ok) << key;
}

}  // namespace
