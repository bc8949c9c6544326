// The Windows backend's files, registry, profile files and shell objects,
// on a real Windows API (under Wine in the e2e run).
#include <gtest/gtest.h>

#include "backend_fixture.h"

using namespace platform;

namespace {

TEST_F(Backend, FilesShareAsTheSuiteNeeds) {
    Files& f = s->files();
    Text dir = Scratch("sharing");
    Text path = dir + "\\称重.txt";
    {
        auto w = f.create(path);
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->write("abc", 3));
        // A file being created is shared with nobody.
        OpenResult r = OpenResult::Ok;
        EXPECT_FALSE(f.openRead(path, &r));
        EXPECT_EQ(r, OpenResult::CannotOpen);
        EXPECT_FALSE(f.create(path));
    }
    {
        auto a = f.openRead(path);
        ASSERT_TRUE(a);
        // Readers share with readers and deny writers.
        EXPECT_TRUE(f.openRead(path));
        EXPECT_FALSE(f.create(path));
        char buf[8] = {};
        EXPECT_EQ(a->read(buf, sizeof buf), 3u);
        EXPECT_EQ(std::string(buf, 3), "abc");
        EXPECT_EQ(a->size(), 3);
        EXPECT_TRUE(a->seek(1));
        EXPECT_EQ(a->position(), 1);
    }
    OpenResult r = OpenResult::Ok;
    EXPECT_FALSE(f.openRead(dir + "\\缺少.txt", &r));
    EXPECT_EQ(r, OpenResult::NotFound);
}

TEST_F(Backend, FoldersCopiesAndReplacing) {
    Files& f = s->files();
    Text dir = Scratch("folders");
    EXPECT_FALSE(f.createFolder(dir + "\\甲\\乙"));  // one level at a time
    EXPECT_TRUE(f.createFolder(dir + "\\甲"));
    EXPECT_TRUE(f.findDirectory(dir + "\\甲"));
    ASSERT_TRUE(WriteFile(f, dir + "\\甲\\一.txt", "1"));
    ASSERT_TRUE(WriteFile(f, dir + "\\二.txt", "2"));
    EXPECT_FALSE(f.removeFolder(dir + "\\甲"));  // not empty
    EXPECT_FALSE(f.copyFile(dir + "\\二.txt", dir + "\\甲\\一.txt", false));
    EXPECT_TRUE(f.copyFile(dir + "\\二.txt", dir + "\\甲\\一.txt", true));
    EXPECT_EQ(ReadWholeFile(f, dir + "\\甲\\一.txt"), "2");
    EXPECT_EQ(f.list(dir + "\\甲"), std::vector<Text>{"一.txt"});
    ASSERT_TRUE(WriteFile(f, dir + "\\新.txt", "new"));
    EXPECT_TRUE(f.replaceFile(dir + "\\新.txt", dir + "\\二.txt"));
    EXPECT_FALSE(f.exists(dir + "\\新.txt"));
    EXPECT_EQ(ReadWholeFile(f, dir + "\\二.txt"), "new");
    auto attrs = f.attributes(dir + "\\甲");
    ASSERT_TRUE(attrs);
    EXPECT_TRUE(*attrs & AttributeDirectory);
    EXPECT_TRUE(f.deleteFile(dir + "\\甲\\一.txt"));
    EXPECT_TRUE(f.removeFolder(dir + "\\甲"));
    EXPECT_FALSE(f.exists(dir + "\\甲"));
}

TEST_F(Backend, RunAndCurrentDirectories) {
    Files& f = s->files();
    Text run = f.runDirectory();
    EXPECT_FALSE(run.empty());
    EXPECT_FALSE(EndsWithCharacter(run, '\\'));
    EXPECT_TRUE(f.exists(run + "\\backend_tests.exe"));
    Text dir = Scratch("current");
    Text before = f.currentDirectory();
    EXPECT_TRUE(f.setCurrentDirectory(dir));
    EXPECT_EQ(LowerAscii(f.currentDirectory()), LowerAscii(dir));
    EXPECT_FALSE(f.setCurrentDirectory(dir + "\\没有"));
    EXPECT_TRUE(f.setCurrentDirectory(before));
}

TEST_F(Backend, RegistryValuesAndKeys) {
    Registry& r = s->registry();
    const Text key = "Software\\BoardSuiteTest\\称重";
    EXPECT_TRUE(r.writeString(Hive::CurrentUser, key, "路径", "C:\\测试"));
    EXPECT_EQ(r.readString(Hive::CurrentUser, key, "路径"), "C:\\测试");
    EXPECT_TRUE(r.writeDword(Hive::CurrentUser, key, "Count", 7));
    EXPECT_EQ(r.readString(Hive::CurrentUser, key, "Count"), std::nullopt);  // not a text
    EXPECT_EQ(r.readString(Hive::CurrentUser, key, "缺少"), std::nullopt);
    EXPECT_TRUE(r.writeString(Hive::LocalMachine, key + "\\Sub", "Name", "值"));
    EXPECT_EQ(r.readString(Hive::LocalMachine, key + "\\Sub", "Name"), "值");
    EXPECT_TRUE(r.deleteKey(Hive::LocalMachine, "Software\\BoardSuiteTest"));
    EXPECT_EQ(r.readString(Hive::LocalMachine, key + "\\Sub", "Name"), std::nullopt);
    EXPECT_TRUE(r.deleteKey(Hive::CurrentUser, "Software\\BoardSuiteTest"));
    EXPECT_FALSE(r.deleteKey(Hive::CurrentUser, "Software\\BoardSuiteTest"));
}

TEST_F(Backend, ProfileStrings) {
    Registry& r = s->registry();
    Text file = Scratch("profile") + "\\uninstall.ini";
    EXPECT_TRUE(r.writeProfileString(file, "安装", "目录", "C:\\程序"));
    EXPECT_TRUE(r.writeProfileString(file, "安装", "Empty", ""));
    EXPECT_TRUE(r.writeProfileString(file, "Files", "1", "a.exe"));
    EXPECT_TRUE(r.writeProfileString(file, "安装", "Count", "3"));
    EXPECT_EQ(r.readProfileString(file, "安装", "目录"), "C:\\程序");
    EXPECT_EQ(r.readProfileString(file, "安装", "Empty"), "");
    EXPECT_EQ(r.readProfileString(file, "安装", "缺少"), std::nullopt);
    EXPECT_EQ(r.readProfileString(file, "缺少", "目录"), std::nullopt);
    EXPECT_EQ(r.profileKeys(file, "安装"), (std::vector<Text>{"目录", "Empty", "Count"}));
    // The file is GBK text; a new section goes at the end.
    auto bytes = ReadWholeFile(s->files(), file);
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find("[安装]"), std::string::npos);
    EXPECT_LT(bytes->find("[安装]"), bytes->find("[Files]"));
}

TEST_F(Backend, ShortcutThroughScriptShell) {
    Shell& sh = s->shell();
    EXPECT_EQ(LowerAscii(sh.windowsDirectory()), "c:\\windows");
    EXPECT_FALSE(sh.desktopFolder().empty());
    auto shell = sh.createObject("WScript.Shell");
    ASSERT_TRUE(shell);
    Text link = Scratch("links") + "\\称重工具.lnk";
    auto shortcut = shell->callForObject("CreateShortcut", {Variant::Of(link)});
    ASSERT_TRUE(shortcut);
    EXPECT_TRUE(shortcut->setProperty("TargetPath", Variant::Of(Text("C:\\windows\\notepad.exe"))));
    EXPECT_TRUE(shortcut->call("Save", {}));
    EXPECT_TRUE(s->files().exists(link));
    EXPECT_FALSE(shell->call("NoSuchMethod", {}));
    EXPECT_FALSE(sh.createObject("No.Such.Object"));
}

TEST_F(Backend, LibrariesByFullPath) {
    Text system = s->shell().windowsDirectory() + "\\system32\\kernel32.dll";
    auto lib = s->libraries().load(system);
    ASSERT_TRUE(lib);
    EXPECT_NE(lib->symbol("GetTickCount"), nullptr);
    EXPECT_EQ(lib->symbol("NoSuchExport"), nullptr);
    EXPECT_FALSE(s->libraries().load(Scratch("libs") + "\\missing.dll"));
}

}  // namespace
