// Pieces the benchmark programs share: a package made from a folder of the
// host, the installer's surroundings on a headless machine, and the clock.
#pragma once

#include <time.h>

#include <cstdint>
#include <string>
#include <vector>

#include "headless/machine.h"
#include "headless/session.h"
#include "package_model.h"

namespace bench {

// Where the installer finds its package, and where it installs.
inline constexpr const char* PackagePath = "C:\\Work\\setup.pkg";
inline constexpr const char* InstallPath = "D:\\Bench\\Product";
inline constexpr const char* Wizard = "WizardWindow";

// A package whose folder tree holds every folder and file below hostFolder
// (sorted, so two runs give the same bytes). No licence and no readme, so
// the wizard goes from Welcome straight to the destination page.
pkgbuild::Package PackageFromFolder(const std::string& hostFolder);

// setup.dll beside the installer (an in-memory stand-in that answers 1), the
// working and destination drives, and the installer's command line.
void PrepareInstallerMachine(headless::Machine& machine);

// Puts the package file at PackagePath without reading it: a hard link when
// the sandbox is on the same disk, else a copy.
void PlacePackage(headless::Machine& machine, const std::string& hostPackage);

// Welcome -> destination -> Prepare; the next click on Next installs.
void WalkToPrepare(headless::Session& session, const std::string& folder);

// Peak resident memory of this process so far, in KiB.
long PeakMemoryKiB();

// A monotonic clock in milliseconds (<chrono> does not compile with the
// GBK execution character set).
struct Clock {
    using time_point = double;
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }
};
inline double MillisSince(double t0) { return Clock::now() - t0; }

// Median, minimum and maximum of some samples.
struct Spread {
    double median = 0, min = 0, max = 0;
};
Spread SpreadOf(std::vector<double> samples);

}  // namespace bench
