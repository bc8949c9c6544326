// setup.dll and the run time of boardtool-shared are taken only from the
// folders they belong in. A library of the same name planted in the current
// directory and in a folder of PATH is never tried: not when the right one
// is there, not when it is missing, not when the registry names a folder
// that is not fully qualified.
#include <gtest/gtest.h>

#include "headless/loader_host.h"
#include "install_run.h"
#include "link/board_tool.h"
#include "package_variants.h"

namespace {

const std::string Planted = "C:\\Work";  // the current directory of both programs
const std::string PathFolder = "C:\\Shared\\bin";

// Planted libraries note that they ran; the test fails on any call.
int plantedCalls = 0;
int32_t PLATFORM_STDCALL PlantedReg(const char*, const char*, const char*, int32_t, int32_t, int32_t) {
    ++plantedCalls;
    return 1;
}
int32_t PLATFORM_STDCALL PlantedRegOcx(const char*, const char*) {
    ++plantedCalls;
    return 1;
}
int32_t PLATFORM_STDCALL PlantedViewDir(void*, const char*, char* buffer) {
    ++plantedCalls;
    buffer[0] = 0;
    return 0;
}
// A run time that would serve the program, so a wrong load would go
// unnoticed by the program itself.
platform::Services* PlantedRuntime(int version, void* context) {
    ++plantedCalls;
    return headless::HeadlessRuntimeEntry(version, context);
}

void PlantSetupDll(headless::Machine& m, const std::string& folder) {
    m.registerLibrary(folder + "\\setup.dll", {{"reg", reinterpret_cast<void*>(&PlantedReg)},
                                               {"regocx", reinterpret_cast<void*>(&PlantedRegOcx)},
                                               {"ViewDir", reinterpret_cast<void*>(&PlantedViewDir)}});
}
void PlantRuntime(headless::Machine& m, const std::string& folder) {
    m.registerLibrary(folder + "\\" + platform::RuntimeLibraryName,
                      {{platform::RuntimeEntryName, reinterpret_cast<void*>(&PlantedRuntime)}});
}

struct LibrarySearch : ::testing::Test {
    void SetUp() override { plantedCalls = 0; }
};

// The planted copies are where a plain search by name would find them: the
// check below would catch a program that loads by name.
TEST_F(LibrarySearch, PlantedCopiesAreFoundByAPlainSearch) {
    headless::Machine m;
    m.pathFolders = {"C:\\Other", PathFolder};
    PlantSetupDll(m, PathFolder);
    EXPECT_EQ(m.loadLibrary("setup.dll"), &m.libraries[m.hostPath(PathFolder + "\\setup.dll")]);
    EXPECT_EQ(m.loadAttempts, (std::vector<std::string>{"C:\\Tool\\setup.dll", "C:\\WINDOWS\\system32\\setup.dll",
                                                        "C:\\WINDOWS\\setup.dll", "C:\\Work\\setup.dll",
                                                        "C:\\Other\\setup.dll", PathFolder + "\\setup.dll"}));
    PlantSetupDll(m, Planted);
    m.loadAttempts.clear();
    EXPECT_EQ(m.loadLibrary("setup.dll"), &m.libraries[m.hostPath(Planted + "\\setup.dll")]);
    EXPECT_EQ(m.loadAttempts.back(), "C:\\Work\\setup.dll");
}

TEST_F(LibrarySearch, InstallerUsesOnlyTheSetupDllBesideIt) {
    headless::Machine m;
    reliability::PreparePc(m, pkgbuild::WritePackage(variants::Probe()));  // the good one in C:\Tool
    m.pathFolders = {PathFolder};
    PlantSetupDll(m, Planted);
    PlantSetupDll(m, PathFolder);
    reliability::InstallOutcome o = reliability::RunInstaller(m);
    EXPECT_TRUE(o.finished);  // regocx and reg ran from the library beside the installer
    EXPECT_EQ(o.boxes, std::vector<std::string>{});
    EXPECT_EQ(plantedCalls, 0);
    EXPECT_EQ(m.loadAttempts, std::vector<std::string>{"C:\\Tool\\setup.dll"});
}

TEST_F(LibrarySearch, InstallerWithoutItsSetupDllStopsInsteadOfTakingAnother) {
    headless::Machine m;
    reliability::PreparePc(m, pkgbuild::WritePackage(variants::Probe()));
    m.libraries.erase(m.hostPath("C:\\Tool\\setup.dll"));
    m.pathFolders = {PathFolder};
    PlantSetupDll(m, Planted);
    PlantSetupDll(m, PathFolder);
    reliability::InstallOutcome o = reliability::RunInstaller(m);
    EXPECT_FALSE(o.finished);
    EXPECT_TRUE(o.ended);
    // The first call is the registration of the first component.
    EXPECT_EQ(o.boxes, std::vector<std::string>{"加载动态库“C:\\Tool\\setup.dll”失败，无法调用函数“regocx”!"});
    EXPECT_EQ(plantedCalls, 0);
    EXPECT_EQ(m.loadAttempts, std::vector<std::string>{"C:\\Tool\\setup.dll"});
}

struct SharedRun {
    headless::Machine m;
    std::unique_ptr<headless::Session> session;
    const std::string own = "C:\\Tool\\" + std::string(platform::RuntimeLibraryName);

    SharedRun() {
        m.pathFolders = {PathFolder};
        PlantRuntime(m, Planted);
        PlantRuntime(m, PathFolder);
    }
    void start() {
        session = std::make_unique<headless::Session>(m);
        headless::Session* s = session.get();
        session->start([s, this](platform::Services&) {
            headless::MachineLoaderHost host(m, *s);
            return platform::RunOnRuntime(host, boardtool::BoardToolMain, s);
        });
    }
};

TEST_F(LibrarySearch, SharedToolUsesTheRunTimeInItsOwnFolder) {
    SharedRun r;
    r.m.registerLibrary(r.own, {{platform::RuntimeEntryName,
                                 reinterpret_cast<void*>(&headless::HeadlessRuntimeEntry)}});
    r.start();
    EXPECT_NE(r.session->window("MainWindow"), nullptr);
    EXPECT_EQ(plantedCalls, 0);
    EXPECT_EQ(r.m.loadAttempts, std::vector<std::string>{r.own});
    r.session.reset();
}

// Without a run time in its own folder, and with a registry folder that is
// missing or not fully qualified, the tool shows its error: the folder is
// never looked up against the current directory or PATH.
TEST_F(LibrarySearch, SharedToolWithoutItsRunTimeShowsTheErrorAndTriesNothingElse) {
    const char* folders[] = {nullptr, "", ".", "Kernel", "..\\Work", "\\Work", "C:Work", "bin"};
    for (const char* folder : folders) {
        SCOPED_TRACE(folder ? std::string("registry folder \"") + folder + "\"" : "no registry folder");
        plantedCalls = 0;
        SharedRun r;
        PlantRuntime(r.m, Planted + "\\Kernel");
        PlantRuntime(r.m, "C:\\Tool\\bin");
        PlantRuntime(r.m, "C:\\Work\\bin");
        if (folder)
            r.m.setString(platform::Hive::CurrentUser, platform::RuntimeFolderKey,
                          platform::RuntimeFolderValue, folder);
        r.start();
        const headless::BoxRecord* box = r.session->openBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text, "Not found the kernel library or the kernel library is invalid!");
        EXPECT_EQ(box->caption, "Error");
        r.session->answer(platform::Answer::Ok);
        EXPECT_FALSE(r.session->running());
        EXPECT_EQ(plantedCalls, 0);
        EXPECT_EQ(r.m.loadAttempts, std::vector<std::string>{r.own});
    }
}

}  // namespace
