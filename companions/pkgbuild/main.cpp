// pkgbuild: builds an installation package from a manifest, or lists one.
//
//   pkgbuild build MANIFEST -o PACKAGE
//   pkgbuild dump PACKAGE
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "dump.h"
#include "manifest.h"
#include "package_reader.h"

namespace {

int Usage() {
    std::cerr << "usage: pkgbuild build MANIFEST -o PACKAGE\n"
                 "       pkgbuild dump PACKAGE\n";
    return 2;
}

int Build(const std::string& manifest, const std::string& output) {
    pkgbuild::ManifestResult r = pkgbuild::ParseManifestFile(manifest);
    for (const std::string& w : r.warnings) std::cerr << w << " (warning)\n";
    for (const std::string& e : r.errors) std::cerr << e << "\n";
    if (!r.errors.empty()) {
        std::cerr << "pkgbuild: no package written, " << r.errors.size() << " error(s)\n";
        return 1;
    }
    std::string bytes = pkgbuild::WritePackage(r.package);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "pkgbuild: cannot write " << output << "\n";
        return 1;
    }
    std::cout << output << ": " << bytes.size() << " bytes, " << r.package.storedFiles.size() << " stored files, "
              << r.package.tree.size() << " tree entries\n";
    return 0;
}

int Dump(const std::string& package) {
    std::ifstream in(package, std::ios::binary);
    if (!in) {
        std::cerr << "pkgbuild: cannot read " << package << "\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string b = bytes.str();
    pkgbuild::ReadOutcome r = pkgbuild::ReadPackage(b);
    std::cout << pkgbuild::DumpPackage(r, b.size());
    return r.complete ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "build" && argc == 5 && std::string(argv[3]) == "-o") return Build(argv[2], argv[4]);
    if (command == "build" && argc == 5 && std::string(argv[2]) == "-o") return Build(argv[4], argv[3]);
    if (command == "dump" && argc == 3) return Dump(argv[2]);
    return Usage();
}
