// Files and folders. Paths are Windows path texts (GBK, backslashes,
// drive letters) on every backend.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace platform {

constexpr uint32_t AttributeDirectory = 16;

enum class OpenResult { Ok, NotFound, CannotOpen };

class File {
public:
    virtual ~File() = default;
    // Reads up to n bytes; returns how many were read (0 at the end).
    virtual size_t read(void* buffer, size_t n) = 0;
    virtual bool write(const void* data, size_t n) = 0;
    virtual bool seek(int64_t offsetFromStart) = 0;
    virtual int64_t position() const = 0;
    virtual int64_t size() const = 0;
    // Flushes what was written to the disk; false when that failed.
    virtual bool flush() = 0;
};

class Files {
public:
    virtual ~Files() = default;
    // The folder that holds the program file, without a trailing "\".
    virtual Text runDirectory() const = 0;
    virtual Text currentDirectory() const = 0;
    virtual bool setCurrentDirectory(const Text& path) = 0;

    virtual bool exists(const Text& path) const = 0;  // a file or a folder
    virtual std::optional<uint32_t> attributes(const Text& path) const = 0;
    // Searches for path as a directory entry; true when it is a folder.
    virtual bool findDirectory(const Text& path) const = 0;
    // Names of the entries in a folder (no "." or "..").
    virtual std::vector<Text> list(const Text& folder) const = 0;

    virtual bool createFolder(const Text& path) = 0;  // one level
    virtual bool removeFolder(const Text& path) = 0;  // only when empty
    virtual bool copyFile(const Text& from, const Text& to, bool replace) = 0;
    virtual bool deleteFile(const Text& path) = 0;
    // Moves from over to in one step, replacing to.
    virtual bool replaceFile(const Text& from, const Text& to) = 0;

    // Opens for reading while denying other writers.
    virtual std::unique_ptr<File> openRead(const Text& path, OpenResult* result = nullptr) = 0;
    // Creates or truncates for writing, no sharing.
    virtual std::unique_ptr<File> create(const Text& path) = 0;
};

// Reads a whole file; nullopt when it cannot be opened.
inline std::optional<std::string> ReadWholeFile(Files& files, const Text& path) {
    auto f = files.openRead(path);
    if (!f) return std::nullopt;
    std::string bytes;
    char buf[65536];
    for (size_t n; (n = f->read(buf, sizeof buf)) > 0;) bytes.append(buf, n);
    return bytes;
}

// Splits text into lines ended by CR LF, LF or the end of the text.
inline std::vector<Text> SplitLines(const std::string& bytes) {
    std::vector<Text> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lf = bytes.find('\n', start);
        size_t end = lf == std::string::npos ? bytes.size() : lf;
        size_t cut = (end > start && bytes[end - 1] == '\r') ? end - 1 : end;
        lines.push_back(bytes.substr(start, cut - start));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

}  // namespace platform
