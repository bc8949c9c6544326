// The sandbox disk: Windows paths mapped into a folder of the host.
#include <cstdio>
#include <filesystem>
#include <map>

#include "internal.h"

namespace headless {

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct Sharing {
    int readers = 0;
    int writers = 0;
};

class HeadlessFiles;

class HFile : public File {
public:
    HFile(HeadlessFiles& owner, std::FILE* f, std::string host, Text path, bool writer)
        : owner_(owner), f_(f), host_(std::move(host)), path_(std::move(path)), writer_(writer) {}
    ~HFile() override;
    size_t read(void* buffer, size_t n) override { return std::fread(buffer, 1, n, f_); }
    bool write(const void* data, size_t n) override;
    bool seek(int64_t offset) override { return std::fseek(f_, static_cast<long>(offset), SEEK_SET) == 0; }
    int64_t position() const override { return std::ftell(f_); }
    int64_t size() const override {
        std::error_code ec;
        std::fflush(f_);
        auto s = fs::file_size(host_, ec);
        return ec ? 0 : static_cast<int64_t>(s);
    }
    bool flush() override { return std::fflush(f_) == 0; }

private:
    HeadlessFiles& owner_;
    std::FILE* f_;
    std::string host_;
    Text path_;
    bool writer_;
};

class HeadlessFiles : public Files {
public:
    explicit HeadlessFiles(Machine& m) : m_(m) {}

    Text runDirectory() const override { return m_.runDirectory; }
    Text currentDirectory() const override { return m_.currentDirectory; }
    bool setCurrentDirectory(const Text& path) override {
        if (!m_.folderExists(path)) return false;
        Text abs = m_.absolute(path);
        if (abs.size() > 3 && EndsWithCharacter(abs, '\\')) abs.pop_back();
        m_.currentDirectory = abs;
        return true;
    }

    bool exists(const Text& path) const override {
        std::error_code ec;
        return !path.empty() && fs::exists(m_.hostPath(path), ec);
    }
    std::optional<uint32_t> attributes(const Text& path) const override {
        if (!exists(path)) return std::nullopt;
        std::error_code ec;
        return fs::is_directory(m_.hostPath(path), ec) ? AttributeDirectory : 32u;
    }
    bool findDirectory(const Text& path) const override {
        std::error_code ec;
        return !path.empty() && fs::is_directory(m_.hostPath(path), ec);
    }
    std::vector<Text> list(const Text& folder) const override {
        std::vector<Text> names;
        std::error_code ec;
        for (auto& e : fs::directory_iterator(m_.hostPath(folder), ec))
            names.push_back(e.path().filename().string());
        return names;
    }

    bool createFolder(const Text& path) override {
        std::string host = m_.hostPath(path);
        std::error_code ec;
        if (!fs::is_directory(fs::path(host).parent_path(), ec)) return false;
        return fs::create_directory(host, ec);
    }
    bool removeFolder(const Text& path) override {
        std::string host = m_.hostPath(path);
        std::error_code ec;
        if (!fs::is_directory(host, ec) || !fs::is_empty(host, ec)) return false;
        return fs::remove(host, ec);
    }
    bool copyFile(const Text& from, const Text& to, bool replace) override {
        std::string src = m_.hostPath(from), dst = m_.hostPath(to);
        std::error_code ec;
        if (!fs::is_regular_file(src, ec) || fs::is_directory(dst, ec)) return false;
        if (!replace && fs::exists(dst, ec)) return false;
        if (busy(dst) || m_.lockedHostPaths.count(src)) return false;
        if (m_.failCreate && m_.failCreate(m_.absolute(to))) return false;
        if (m_.failWrite && m_.failWrite(m_.absolute(to))) return false;
        return fs::copy_file(src, dst, fs::copy_options::overwrite_existing, ec);
    }
    bool deleteFile(const Text& path) override {
        std::string host = m_.hostPath(path);
        std::error_code ec;
        if (!fs::is_regular_file(host, ec) || busy(host)) return false;
        return fs::remove(host, ec);
    }
    bool replaceFile(const Text& from, const Text& to) override {
        std::string src = m_.hostPath(from), dst = m_.hostPath(to);
        std::error_code ec;
        if (!fs::is_regular_file(src, ec) || busy(src) || busy(dst)) return false;
        fs::rename(src, dst, ec);
        return !ec;
    }

    std::unique_ptr<File> openRead(const Text& path, OpenResult* result) override {
        std::string host = m_.hostPath(path);
        std::error_code ec;
        auto set = [&](OpenResult r) { if (result) *result = r; };
        if (path.empty() || !fs::exists(host, ec)) return set(OpenResult::NotFound), nullptr;
        if (fs::is_directory(host, ec) || sharing_[host].writers > 0 || m_.lockedHostPaths.count(host))
            return set(OpenResult::CannotOpen), nullptr;
        std::FILE* f = std::fopen(host.c_str(), "rb");
        if (!f) return set(OpenResult::CannotOpen), nullptr;
        set(OpenResult::Ok);
        ++sharing_[host].readers;
        return std::make_unique<HFile>(*this, f, host, m_.absolute(path), false);
    }

    std::unique_ptr<File> create(const Text& path) override {
        std::string host = m_.hostPath(path);
        std::error_code ec;
        if (path.empty() || busy(host) || fs::is_directory(host, ec)) return nullptr;
        if (!fs::is_directory(fs::path(host).parent_path(), ec)) return nullptr;
        if (m_.failCreate && m_.failCreate(m_.absolute(path))) return nullptr;
        std::FILE* f = std::fopen(host.c_str(), "w+b");
        if (!f) return nullptr;
        ++sharing_[host].writers;
        return std::make_unique<HFile>(*this, f, host, m_.absolute(path), true);
    }

    void released(const std::string& host, bool writer) {
        Sharing& s = sharing_[host];
        (writer ? s.writers : s.readers)--;
    }
    bool failsWrite(const Text& path) const { return m_.failWrite && m_.failWrite(path); }

private:
    bool busy(const std::string& host) {
        auto it = sharing_.find(host);
        bool open = it != sharing_.end() && (it->second.readers > 0 || it->second.writers > 0);
        return open || m_.lockedHostPaths.count(host) > 0;
    }

    Machine& m_;
    std::map<std::string, Sharing> sharing_;
};

HFile::~HFile() {
    std::fclose(f_);
    owner_.released(host_, writer_);
}

bool HFile::write(const void* data, size_t n) {
    if (owner_.failsWrite(path_)) return false;
    return std::fwrite(data, 1, n, f_) == n;
}

}  // namespace

std::unique_ptr<Files> MakeFiles(Machine& m) { return std::make_unique<HeadlessFiles>(m); }

}  // namespace headless
