// Start-up on the headless platform: from Session::start to the program
// waiting idle with its first window shown.
//
//   startup_bench PACKAGE [RUNS]
//
// The installer runs once with PACKAGE and once with a package of the same
// descriptive part and an empty payload; the bytes it read at start-up show
// that the payload is left alone. The tool runs with no port.ini.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_support.h"
#include "counting_files.h"
#include "front/installer.h"
#include "link/board_tool.h"

using namespace bench;

namespace {

struct Startup {
    std::vector<double> ms;
    int64_t bytesRead = 0;
};

Startup InstallerStartup(const std::function<void(headless::Machine&)>& placePackage, int runs) {
    Startup out;
    for (int i = 0; i < runs; ++i) {
        headless::Machine machine;
        PrepareInstallerMachine(machine);
        placePackage(machine);
        headless::Session session(machine);
        CountingServices* counting = nullptr;
        Clock::time_point t0 = Clock::now();
        session.start([&counting](platform::Services& s) {
            CountingServices c(s);
            counting = &c;
            return installer::InstallerMain(c);
        });
        out.ms.push_back(MillisSince(t0));
        platform::Window* wizard = session.window(Wizard);
        if (!wizard || !wizard->visible()) throw std::runtime_error("no wizard shown after start-up");
        if (!session.running()) throw std::runtime_error("the installer ended during start-up");
        // Counted with the wizard up and idle; the session ends the program.
        out.bytesRead = std::max(out.bytesRead, counting->bytesRead());
    }
    return out;
}

std::vector<double> ToolStartup(int runs) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        headless::Machine machine;
        headless::Session session(machine);
        Clock::time_point t0 = Clock::now();
        session.start(boardtool::BoardToolMain);
        ms.push_back(MillisSince(t0));
        platform::Window* w = session.window("MainWindow");
        if (!w || !w->visible()) throw std::runtime_error("no main window after start-up");
    }
    return ms;
}

void Print(const char* name, const std::vector<double>& ms) {
    Spread s = SpreadOf(ms);
    std::printf("%s_median_ms %.3f\n%s_min_ms %.3f\n%s_max_ms %.3f\n", name, s.median, name, s.min,
                name, s.max);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench PACKAGE [RUNS]\n");
        return 2;
    }
    std::string package = argv[1];
    int runs = argc > 2 ? std::stoi(argv[2]) : 20;
    try {
        pkgbuild::Package empty;
        empty.productName = "Bench Product";
        empty.defaultFolder = InstallPath;
        std::string emptyBytes = pkgbuild::WritePackage(empty);

        Startup big = InstallerStartup([&](headless::Machine& m) { PlacePackage(m, package); }, runs);
        Startup small = InstallerStartup(
            [&](headless::Machine& m) { m.writeFile(PackagePath, emptyBytes); }, runs);
        std::vector<double> tool = ToolStartup(runs);

        std::printf("runs %d\n", runs);
        Print("installer_full", big.ms);
        std::printf("installer_full_read_bytes %lld\n", static_cast<long long>(big.bytesRead));
        Print("installer_empty", small.ms);
        std::printf("installer_empty_read_bytes %lld\n", static_cast<long long>(small.bytesRead));
        std::printf("installer_empty_package_bytes %zu\n", emptyBytes.size());
        Print("boardtool", tool);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup_bench: %s\n", e.what());
        return 1;
    }
}
