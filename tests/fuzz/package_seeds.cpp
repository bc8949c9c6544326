// Writes the package variants into a folder, one file each, as seeds of the
// package fuzzer.
#include <cstdio>
#include <fstream>
#include <string>

#include "package_variants.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_package_seeds FOLDER\n");
        return 2;
    }
    for (const auto& [name, package] : variants::All()) {
        std::string path = std::string(argv[1]) + "/" + name + ".pkg";
        std::ofstream(path, std::ios::binary) << pkgbuild::WritePackage(package);
    }
    return 0;
}
