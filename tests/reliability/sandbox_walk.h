// A picture of the sandbox disk: every file with its bytes, so a test can
// name exactly what a run created, changed or removed.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "headless/machine.h"

struct DiskPicture {
    std::map<std::string, std::string> files;  // path below the sandbox root -> bytes

    static DiskPicture Of(const headless::Machine& m) {
        DiskPicture p;
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(m.root(), ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_regular_file()) continue;
            std::ifstream in(it->path(), std::ios::binary);
            p.files[std::filesystem::relative(it->path(), m.root()).generic_string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
        return p;
    }

    // Files created or changed since `before`, and files gone since then.
    std::vector<std::string> changedSince(const DiskPicture& before) const {
        std::vector<std::string> out;
        for (const auto& [path, bytes] : files) {
            auto it = before.files.find(path);
            if (it == before.files.end() || it->second != bytes) out.push_back(path);
        }
        return out;
    }
    std::vector<std::string> goneSince(const DiskPicture& before) const {
        std::vector<std::string> out;
        for (const auto& [path, bytes] : before.files)
            if (!files.count(path)) out.push_back(path);
        return out;
    }
};

// The changed files that lie outside every one of the given folders.
inline std::vector<std::string> OutsideOf(const headless::Machine& m, const std::vector<std::string>& changed,
                                          const std::vector<std::string>& windowsFolders) {
    std::vector<std::string> out;
    for (const std::string& path : changed) {
        bool inside = false;
        for (const std::string& folder : windowsFolders) {
            std::string host =
                std::filesystem::relative(m.hostPath(folder), m.root()).generic_string();
            while (!host.empty() && host.back() == '/') host.pop_back();
            host += "/";
            if (path.compare(0, host.size(), host) == 0) inside = true;
        }
        if (!inside) out.push_back(path);
    }
    return out;
}
