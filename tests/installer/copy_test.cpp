// Copying the payload: the destination folder chain, the files and the
// tree, progress, the stop request, and the refusal of broken packages.
#include "installer_harness.h"

using namespace platform;
using namespace testpkg;

namespace {

struct Copying : InstallerRun {
    Package simple() {
        Package p;
        p.license = p.readme = "";
        p.files = {{0, "a.txt", "", "AAA"}};
        return p;
    }
    std::vector<int> progress() {
        return dynamic_cast<headless::HProgressBar&>(
                   session->control<ProgressBar>(Wizard, "CopyProgress"))
            .history;
    }
    bool regCalled() {
        for (const std::string& c : SetupDll().calls)
            if (c.rfind("reg(", 0) == 0) return true;
        return false;
    }
    // The message box of a FatalError is open; answer it and check the end.
    void expectFatal(const std::string& message) {
        ASSERT_NE(box(), nullptr);
        EXPECT_EQ(box()->text, message);
        EXPECT_EQ(box()->caption, "错误");
        session->answer(Answer::Ok);
        EXPECT_FALSE(session->running());
        EXPECT_EQ(session->exitCode(), 1);
    }
};

TEST_F(Copying, EmptyFolderIsRefusedOnThePreparePage) {
    start(simple());
    for (const char* folder : {"", "  \xA1\xA1 ", "\\"}) {
        SCOPED_TRACE(folder);
        install(folder);
        ASSERT_NE(box(), nullptr);
        EXPECT_EQ(box()->text, "The setup path inputed incapability for empty。");
        EXPECT_EQ(box()->caption, "Error");
        EXPECT_EQ(box()->icon, Icon::Error);
        session->answer(Answer::Ok);
        EXPECT_EQ(page(), 4);
        EXPECT_TRUE(wizard().find("NextButton")->visible());
        EXPECT_EQ(title(), "Start setup");
    }
    install("D:\\Apps\\Demo");
    EXPECT_EQ(page(), 6);
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\a.txt"), "AAA");
}

TEST_F(Copying, FolderChainCreatesTheMissingLevelsDeepestFirstInTheRecord) {
    start(simple());
    install(" D:\\Apps\\New\\Sub\\ ");
    EXPECT_TRUE(machine.folderExists("D:\\Apps\\New\\Sub"));
    EXPECT_EQ(machine.readFile("D:\\Apps\\New\\Sub\\a.txt"), "AAA");
    std::vector<std::string> expected = {
        "D:\\Apps\\New\\Sub\\a.txt", "D:\\Apps\\New\\Sub\\uninstall.exe",
        "D:\\Apps\\New\\Sub\\uninstall.ini", "D:\\Apps\\New\\Sub", "D:\\Apps\\New"};
    EXPECT_EQ(uninstallEntries("D:\\Apps\\New\\Sub\\"), expected);
}

TEST_F(Copying, DriveRootInstallsIntoTheRootAndCreatesNothing) {
    start(simple());
    install("C:\\");
    EXPECT_EQ(machine.readFile("C:\\a.txt"), "AAA");
    std::vector<std::string> expected = {"C:\\a.txt", "C:\\uninstall.exe", "C:\\uninstall.ini"};
    EXPECT_EQ(uninstallEntries("C:\\"), expected);
}

TEST_F(Copying, FilesAndTreeWithProgress) {
    Package p = simple();
    p.files = {{0, "a.txt", "", "A"}, {2, "first.exe", "", "1"}, {0, "empty.txt", "", ""},
               {2, "main.exe", "", "MAIN"}};
    p.tree = {{0, 0, "bin", ""}, {1, 1, "a.dll", "DLL"}, {0, 1, "top.txt", "TOP"}};
    start(p);
    machine.writeFile("D:\\Apps\\Demo\\uninstall.ini", "[old]\r\nstale=1\r\n");
    install("D:\\Apps\\Demo");
    EXPECT_EQ(progress(), (std::vector<int>{12, 25, 37, 50, 66, 83, 100}));
    EXPECT_EQ(text("FileNameLabel"), "D:\\Apps\\Demo\\top.txt");
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\empty.txt"), "");
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\bin\\a.dll"), "DLL");
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\top.txt"), "TOP");
    // The last kind-2 file is the main program.
    ASSERT_EQ(SetupDll().calls.size(), 1u);
    EXPECT_EQ(SetupDll().calls[0], "reg(Demo,D:\\Apps\\Demo\\,D:\\Apps\\Demo\\main.exe,0,0,0)");
    EXPECT_EQ(profileKeys("D:\\Apps\\Demo\\uninstall.ini", "old"), std::vector<std::string>{});
    std::vector<std::string> expected = {
        "D:\\Apps\\Demo\\a.txt",        "D:\\Apps\\Demo\\first.exe",     "D:\\Apps\\Demo\\empty.txt",
        "D:\\Apps\\Demo\\main.exe",     "D:\\Apps\\Demo\\bin\\a.dll",    "D:\\Apps\\Demo\\top.txt",
        "D:\\Apps\\Demo\\uninstall.exe", "D:\\Apps\\Demo\\uninstall.ini", "D:\\Apps\\Demo\\bin"};
    EXPECT_EQ(uninstallEntries("D:\\Apps\\Demo\\"), expected);
}

TEST_F(Copying, EmptyTreeEndsTheBarAtFifty) {
    start(simple());
    install("D:\\Apps\\Demo");
    EXPECT_EQ(progress(), std::vector<int>{50});
}

TEST_F(Copying, OutsideFilesComeFromTheCurrentDirectory) {
    Package p = simple();
    p.files = {{0, "tool.bin", "", "", -1}, {0, "after.txt", "", "X"}};
    machine.writeFile("C:\\Work\\tool.bin", "OUTSIDE");
    machine.writeFile("D:\\Apps\\Demo\\tool.bin", "old");
    start(p);
    install("D:\\Apps\\Demo");
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\tool.bin"), "OUTSIDE");
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\after.txt"), "X");
}

TEST_F(Copying, MissingOutsideFileEndsTheInstaller) {
    Package p = simple();
    p.files = {{0, "tool.bin", "", "", -1}};
    start(p);
    install("D:\\Apps\\Demo");
    expectFatal("Copy“D:\\Apps\\Demo\\tool.bin”file failure!");
    EXPECT_FALSE(regCalled());
}

TEST_F(Copying, FilesThatCannotBeCreatedOrWrittenEndTheInstaller) {
    struct Case {
        bool create;
        const char* message;
    } cases[] = {{true, "创建文件“D:\\Apps\\Demo\\a.txt”失败!"},
                 {false, "写出文件“D:\\Apps\\Demo\\a.txt”失败!"}};
    for (const Case& c : cases) {
        headless::Machine m;
        m.arguments = {PackagePath};
        m.makeFolders("D:\\Apps");
        m.writeFile(PackagePath, simple().bytes());
        auto isA = [](const Text& path) { return path == "D:\\Apps\\Demo\\a.txt"; };
        (c.create ? m.failCreate : m.failWrite) = isA;
        headless::Session s(m);
        s.start(installer::InstallerMain);
        s.click(Wizard, "NextButton");
        s.click(Wizard, "NextButton");
        s.click(Wizard, "NextButton");
        ASSERT_NE(s.openBox(), nullptr);
        EXPECT_EQ(s.openBox()->text, c.message);
        s.answer(Answer::Ok);
        EXPECT_EQ(s.exitCode(), 1);
        EXPECT_FALSE(m.fileExists("D:\\Apps\\Demo\\uninstall.ini"));
    }
}

struct StopRequest : Copying {
    Package three() {
        Package p = simple();
        p.files = {{0, "1.txt", "", "1"}, {0, "2.txt", "", "2"}, {0, "3.txt", "", "3"}};
        return p;
    }
    // Runs action when the copy loop lets events run before record n.
    void atRecord(int n, std::function<void()> action) {
        auto count = std::make_shared<int>(0);
        session->onProcessEvents = [count, n, action] {
            if (++*count == n) action();
        };
    }
    void pressCancel() { wizard().get<Button>("CancelButton").Clicked(); }
};

TEST_F(StopRequest, NoContinuesWithTheNextRecord) {
    start(three());
    atRecord(2, [this] { pressCancel(); });
    session->queueAnswer(Answer::No);
    install("D:\\Apps\\Demo");
    ASSERT_EQ(session->boxes().size(), 1u);
    EXPECT_EQ(session->boxes()[0].caption, "Inquire");
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\3.txt"), "3");
    EXPECT_EQ(page(), 6);
    EXPECT_TRUE(regCalled());
}

TEST_F(StopRequest, YesLeavesTheFilesAndMakesNoRecord) {
    start(three());
    atRecord(2, [this] { pressCancel(); });
    session->queueAnswer(Answer::Yes);
    install("D:\\Apps\\Demo");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->exitCode(), 0);
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\1.txt"), "1");
    EXPECT_FALSE(machine.fileExists("D:\\Apps\\Demo\\2.txt"));
    EXPECT_FALSE(machine.fileExists("D:\\Apps\\Demo\\uninstall.ini"));
    EXPECT_FALSE(regCalled());
    EXPECT_FALSE(machine.fileExists(PackagePath));  // closed first, then deleted
}

TEST_F(StopRequest, CloseBoxWhileCopyingStopsLikeAConfirmedStop) {
    start(three());
    atRecord(2, [this] { wizard().close(); });
    session->queueAnswer(Answer::Yes);
    install("D:\\Apps\\Demo");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->boxes().size(), 1u);  // asked once, by the close box
    EXPECT_FALSE(machine.fileExists("D:\\Apps\\Demo\\2.txt"));
    EXPECT_FALSE(machine.fileExists("D:\\Apps\\Demo\\uninstall.ini"));
    EXPECT_FALSE(regCalled());
    EXPECT_FALSE(machine.fileExists(PackagePath));
}

TEST_F(StopRequest, CloseBoxAnsweredNoKeepsCopying) {
    start(three());
    atRecord(2, [this] { wizard().close(); });
    session->queueAnswer(Answer::No);
    install("D:\\Apps\\Demo");
    EXPECT_EQ(page(), 6);
    EXPECT_EQ(machine.readFile("D:\\Apps\\Demo\\3.txt"), "3");
}

struct BrokenPackage : Copying {
    void installBytes(const std::string& bytes) {
        startBytes(bytes);
        install("D:\\Apps\\Demo");
    }
};

TEST_F(BrokenPackage, DamagedPayloadIsRefusedBeforeAnyRecordIsMade) {
    Package p = simple();
    p.files = {{2, "main.exe", "", "0123456789"}};
    p.tree = {{0, 1, "t.txt", "TREE"}};
    std::string full = p.bytes();
    size_t descriptive = p.descriptive().size();
    size_t filesEnd = descriptive + 4 + 4 + 4 + 8 + 4 + 4 + 10;
    struct Case {
        const char* name;
        size_t keep;
    } cases[] = {
        {"no stored-file count", descriptive + 2},
        {"inside a file name", descriptive + 4 + 4 + 4 + 3},
        {"inside the content", filesEnd - 4},
        {"no tree count", filesEnd},
        {"inside a tree entry's data", full.size() - 2},
        {"inside a tree entry's name", filesEnd + 4 + 4 + 4 + 4 + 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        installBytes(full.substr(0, c.keep));
        expectFatal("数据文件“C:\\Work\\setup.pkg”已损坏或不完整!");
        EXPECT_FALSE(regCalled());
        EXPECT_FALSE(machine.fileExists("D:\\Apps\\Demo\\uninstall.ini"));
        EXPECT_FALSE(machine.fileExists("D:\\Apps\\Demo\\t.txt"));
    }
}

TEST_F(BrokenPackage, MalformedValuesAreRefused) {
    struct Case {
        const char* name;
        std::vector<TreeEntry> tree;
        std::string rawFiles;  // replaces the stored-file section when set
    } cases[] = {
        {"parent is the entry itself", {{1, 0, "x", ""}}, ""},
        {"parent is a later entry", {{0, 0, "x", ""}, {3, 0, "y", ""}, {0, 0, "z", ""}}, ""},
        {"negative parent", {{-1, 0, "x", ""}}, ""},
        {"negative name length", {}, Int32(1) + Int32(0) + Int32(-5)},
        {"negative parameter length", {}, Int32(1) + Int32(0) + Counted("a") + Int32(-1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Package p = simple();
        p.files.clear();
        p.tree = c.tree;
        std::string bytes = p.bytes();
        if (!c.rawFiles.empty()) bytes = p.descriptive() + c.rawFiles + Int32(0);
        installBytes(bytes);
        expectFatal("数据文件“C:\\Work\\setup.pkg”格式错误!");
        EXPECT_FALSE(regCalled());
    }
}

TEST_F(BrokenPackage, PathsLeavingTheInstallationFolderAreRefused) {
    struct Case {
        std::string fileName;  // a stored file, or
        std::string entryName;  // a tree entry
    } cases[] = {
        {"..\\evil.txt", ""}, {"sub\\..\\..\\evil.txt", ""}, {"C:\\evil.txt", ""},
        {"\\evil.txt", ""},   {"sub/../../evil.txt", ""},    {"", "..\\evil.txt"},
        {"", ".."},           {"", "bin\\evil.txt"},         {"", "C:evil.txt"},
    };
    for (const Case& c : cases) {
        std::string name = c.fileName.empty() ? c.entryName : c.fileName;
        SCOPED_TRACE(name);
        SetUp();
        Package p = simple();
        p.files.clear();
        if (!c.fileName.empty()) p.files = {{0, c.fileName, "", "EVIL"}};
        if (!c.entryName.empty()) p.tree = {{0, 1, c.entryName, "EVIL"}};
        installBytes(p.bytes());
        expectFatal("数据文件“C:\\Work\\setup.pkg”中的路径“" + name + "”不在安装目录内!");
        EXPECT_FALSE(machine.fileExists("D:\\Apps\\evil.txt"));
        EXPECT_FALSE(machine.fileExists("C:\\evil.txt"));
        EXPECT_FALSE(regCalled());
    }
}

}  // namespace
