// boardtool-shared finding its run-time library.
#include <dlfcn.h>

#include "tool_fixture.h"

namespace {

using platform::RuntimeEntryName;

platform::Services* RefusesEveryVersion(int, void*) { return nullptr; }

struct LoaderTest : ToolTest {
    const std::string own = "C:\\Tool\\boardsuite-runtime.dll";
    const std::string elsewhere = "D:\\Kernel\\boardsuite-runtime.dll";

    void good(const std::string& path) {
        machine.registerLibrary(path, {{RuntimeEntryName,
                                        reinterpret_cast<void*>(&headless::HeadlessRuntimeEntry)}});
    }
    void wrongVersion(const std::string& path) {
        machine.registerLibrary(path, {{RuntimeEntryName, reinterpret_cast<void*>(&RefusesEveryVersion)}});
    }
    void pointRegistryAt(const std::string& folder) {
        machine.setString(platform::Hive::CurrentUser, platform::RuntimeFolderKey,
                          platform::RuntimeFolderValue, folder);
    }
    void startShared() {
        session = std::make_unique<headless::Session>(machine);
        headless::Session* s = session.get();
        session->start([s, this](platform::Services&) {
            headless::MachineLoaderHost host(machine, *s);
            loaded = platform::LoadRuntime(host, s).path;
            return platform::RunOnRuntime(host, boardtool::BoardToolMain, s);
        });
    }
    std::string loaded;
};

TEST_F(LoaderTest, LibraryInTheOwnFolderIsUsed) {
    good(own);
    good(elsewhere);
    pointRegistryAt("D:\\Kernel");
    startShared();
    EXPECT_EQ(loaded, own);
    EXPECT_EQ(session->mustWindow("MainWindow").caption(), "Pesavo_[18.10.24]");
}

TEST_F(LoaderTest, RegistryFolderIsTriedWhenTheOwnFolderHasNone) {
    good(elsewhere);
    pointRegistryAt("D:\\Kernel\\");
    startShared();
    EXPECT_EQ(loaded, elsewhere);
    EXPECT_EQ(machine.loadAttempts.front(), own);
    EXPECT_TRUE(session->window("MainWindow"));
}

TEST_F(LoaderTest, LibraryRefusingTheVersionIsPassedOver) {
    wrongVersion(own);
    good(elsewhere);
    pointRegistryAt("D:\\Kernel");
    startShared();
    EXPECT_EQ(loaded, elsewhere);
    EXPECT_TRUE(session->window("MainWindow"));
}

TEST_F(LoaderTest, LibraryWithoutTheEntryPointIsPassedOver) {
    machine.registerLibrary(own, {{"SomethingElse", reinterpret_cast<void*>(&RefusesEveryVersion)}});
    good(elsewhere);
    pointRegistryAt("D:\\Kernel");
    startShared();
    EXPECT_EQ(loaded, elsewhere);
}

TEST_F(LoaderTest, NoAcceptableLibraryShowsTheErrorAndEndsNonZero) {
    wrongVersion(own);
    pointRegistryAt("D:\\Nowhere");
    startShared();
    const headless::BoxRecord* box = session->openBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Not found the kernel library or the kernel library is invalid!");
    EXPECT_EQ(box->caption, "Error");
    EXPECT_EQ(box->icon, platform::Icon::Error);
    session->answer(platform::Answer::Ok);
    EXPECT_FALSE(session->running());
    EXPECT_NE(session->exitCode(), 0);
    EXPECT_EQ(session->window("MainWindow"), nullptr);
}

// The run-time library as it is built exports its versioned entry point.
TEST(RuntimeLibrary, ExportsTheVersionedEntry) {
    void* lib = dlopen(RUNTIME_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(lib) << dlerror();
    auto entry = reinterpret_cast<platform::RuntimeEntry>(dlsym(lib, RuntimeEntryName));
    ASSERT_TRUE(entry);
    headless::Machine machine;
    headless::Session session(machine);
    EXPECT_EQ(entry(platform::InterfaceVersion + 1, &session), nullptr);
    EXPECT_EQ(entry(platform::InterfaceVersion, &session), &session.services());
    dlclose(lib);
}

}  // namespace
