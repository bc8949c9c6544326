// The package manifest: a readable text that describes a package, turned
// into the package's in-memory description. The format is described in
// README.md beside this file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "package_model.h"

namespace pkgbuild {

struct ManifestResult {
    Package package;
    std::vector<std::string> errors;    // "name:line: message"; empty when the manifest is good
    std::vector<std::string> warnings;  // same form; the package is still built
};

// text: the manifest's bytes; baseFolder: where its relative paths start;
// displayName: how messages name the manifest.
ManifestResult ParseManifest(const std::string& text, const std::filesystem::path& baseFolder,
                             const std::string& displayName);

// Reads the manifest file and parses it with its own folder as the base.
ManifestResult ParseManifestFile(const std::filesystem::path& manifest);

}  // namespace pkgbuild
