// Reads a package file back into its description, strictly: it stops at
// the first value that is not whole and says where and why.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "package_model.h"

namespace pkgbuild {

struct ReadOutcome {
    Package package;           // every field read before reading stopped
    bool headerAccepted = false;
    int64_t payloadOffset = -1;  // -1 when the descriptive part did not end
    bool complete = false;     // the folder tree was read to its end
    std::string problem;       // why reading stopped; empty when complete
    int64_t trailingBytes = 0; // bytes after the folder tree
    std::vector<std::string> warnings;  // readable, but the installer would stumble
    std::set<std::string> fieldsRead;   // names of the header and descriptive fields read whole
};

ReadOutcome ReadPackage(const std::string& bytes);

// Path of tree entry i (1-based) below the installation folder, following
// the ParentIndex links; empty when a link does not name an earlier entry.
std::string TreePath(const std::vector<TreeEntry>& tree, size_t i);

}  // namespace pkgbuild
