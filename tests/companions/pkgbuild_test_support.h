// A scratch folder for manifests and their source files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

// The little-endian 32-bit integer at a byte offset of a built package.
inline int32_t Int32At(const std::string& b, size_t at) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return static_cast<int32_t>(u);
}

class ScratchFolder {
public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name)
            if (c == '/') c = '_';
        root_ = std::filesystem::temp_directory_path() / ("pkgbuild_" + name);
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(root_); }
    const std::filesystem::path& root() const { return root_; }
    void write(const std::string& rel, const std::string& bytes) const {
        std::filesystem::path p = root_ / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path root_;
};
