// Install throughput of the installer logic on the headless platform.
//
//   install_bench build FOLDER PACKAGE   writes a package of FOLDER's files
//   install_bench install PACKAGE KEEP   installs PACKAGE through the wizard
//                                        and moves the result to KEEP
//
// install prints "name value" lines: start-up, the install click (Next on
// Prepare until the finish page), the whole run, bytes read and the peak
// resident memory of the process.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench_support.h"
#include "counting_files.h"
#include "front/installer.h"
#include "headless/session.h"

namespace fs = std::filesystem;
using namespace bench;

namespace {

int Build(const std::string& folder, const std::string& out) {
    Clock::time_point t0 = Clock::now();
    pkgbuild::Package p = PackageFromFolder(folder);
    std::string problem = pkgbuild::PackageProblem(p);
    if (!problem.empty()) throw std::runtime_error(problem);
    std::string bytes = pkgbuild::WritePackage(p);
    std::ofstream f(out, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f.flush()) throw std::runtime_error("cannot write " + out);
    std::printf("package_bytes %zu\npackage_entries %zu\nbuild_ms %.1f\n", bytes.size(),
                p.tree.size(), MillisSince(t0));
    return 0;
}

int Install(const std::string& package, const std::string& keep) {
    Clock::time_point t0 = Clock::now();
    int64_t startupRead = 0, installRead = 0;
    {
        headless::Machine machine;
        PrepareInstallerMachine(machine);
        PlacePackage(machine, package);
        headless::Session session(machine);
        CountingServices* counting = nullptr;

        Clock::time_point s0 = Clock::now();
        session.start([&counting](platform::Services& s) {
            CountingServices c(s);
            counting = &c;
            return installer::InstallerMain(c);
        });
        double startupMs = MillisSince(s0);
        if (!session.window(Wizard)) throw std::runtime_error("no wizard after start-up");
        startupRead = counting->bytesRead();

        WalkToPrepare(session, InstallPath);
        int64_t before = counting->bytesRead();
        Clock::time_point i0 = Clock::now();
        session.click(Wizard, "NextButton");
        double installMs = MillisSince(i0);
        installRead = counting->bytesRead() - before;
        if (session.control<platform::TabControl>(Wizard, "PageTabs").page() != 6)
            throw std::runtime_error("the installation did not reach the finish page");
        session.click(Wizard, "CancelButton");  // "Finish"
        if (session.running()) throw std::runtime_error("the installer did not end after Finish");

        std::printf("startup_ms %.2f\nstartup_read_bytes %lld\n", startupMs,
                    static_cast<long long>(startupRead));
        std::printf("install_ms %.1f\ninstall_read_bytes %lld\n", installMs,
                    static_cast<long long>(installRead));
        std::printf("peak_kib %ld\n", PeakMemoryKiB());

        std::error_code ec;
        fs::remove_all(keep, ec);
        fs::rename(machine.hostPath(InstallPath), keep, ec);
        if (ec) throw std::runtime_error("cannot keep the installed folder: " + ec.message());
    }
    std::printf("run_ms %.1f\n", MillisSince(t0));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "build" && argc == 4) return Build(argv[2], argv[3]);
        if (mode == "install" && argc == 4) return Install(argv[2], argv[3]);
        std::fprintf(stderr, "usage: install_bench build FOLDER PACKAGE | install PACKAGE KEEP\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "install_bench: %s\n", e.what());
        return 1;
    }
}
