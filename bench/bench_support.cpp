#include "bench_support.h"

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/system.h"
#include "platform/ui.h"

namespace bench {

namespace fs = std::filesystem;

namespace {

std::string ReadHostFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + p.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void AddFolder(pkgbuild::Package& p, const fs::path& folder, int32_t parent) {
    std::vector<fs::path> files, folders;
    for (const auto& e : fs::directory_iterator(folder))
        (e.is_directory() ? folders : files).push_back(e.path());
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& f : files)
        p.tree.push_back({parent, 1, f.filename().string(), ReadHostFile(f)});
    for (const fs::path& d : folders) {
        p.tree.push_back({parent, 0, d.filename().string(), ""});
        AddFolder(p, d, static_cast<int32_t>(p.tree.size()));
    }
}

int32_t PLATFORM_STDCALL StandInViewDir(void*, const char*, char*) { return 1; }
int32_t PLATFORM_STDCALL StandInReg(const char*, const char*, const char*, int32_t, int32_t,
                                    int32_t) {
    return 1;
}
int32_t PLATFORM_STDCALL StandInRegOcx(const char*, const char*) { return 1; }

}  // namespace

pkgbuild::Package PackageFromFolder(const std::string& hostFolder) {
    pkgbuild::Package p;
    p.productName = "Bench Product";
    p.defaultFolder = InstallPath;
    p.wizardOnly = false;
    AddFolder(p, hostFolder, 0);
    return p;
}

void PrepareInstallerMachine(headless::Machine& machine) {
    machine.arguments = {PackagePath};
    machine.makeFolders("C:\\Work");
    machine.makeFolders("D:\\Bench");
    machine.writeFile("C:\\Tool\\setup.dll", "stand-in");
    machine.registerLibrary("C:\\Tool\\setup.dll",
                            {{"ViewDir", reinterpret_cast<void*>(&StandInViewDir)},
                             {"reg", reinterpret_cast<void*>(&StandInReg)},
                             {"regocx", reinterpret_cast<void*>(&StandInRegOcx)}});
}

void PlacePackage(headless::Machine& machine, const std::string& hostPackage) {
    std::string at = machine.hostPath(PackagePath);
    std::error_code ec;
    fs::remove(at, ec);
    fs::create_hard_link(hostPackage, at, ec);
    if (ec) fs::copy_file(hostPackage, at, fs::copy_options::overwrite_existing);
}

void WalkToPrepare(headless::Session& session, const std::string& folder) {
    auto page = [&] { return session.control<platform::TabControl>(Wizard, "PageTabs").page(); };
    while (page() < 3) {
        if (page() == 1) session.click(Wizard, "AcceptRadio");
        session.click(Wizard, "NextButton");
    }
    session.paste(Wizard, "PathEdit", folder);
    session.click(Wizard, "NextButton");
    if (page() != 4) throw std::runtime_error("the wizard is not on its Prepare page");
}

long PeakMemoryKiB() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

Spread SpreadOf(std::vector<double> s) {
    if (s.empty()) return {};
    std::sort(s.begin(), s.end());
    size_t n = s.size();
    double median = n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
    return {median, s.front(), s.back()};
}

}  // namespace bench
