#include "counting_files.h"

namespace bench {

using namespace platform;

namespace {

class CountingFile : public File {
public:
    CountingFile(std::unique_ptr<File> inner, int64_t& count) : inner_(std::move(inner)), count_(count) {}
    size_t read(void* buffer, size_t n) override {
        size_t got = inner_->read(buffer, n);
        count_ += static_cast<int64_t>(got);
        return got;
    }
    bool write(const void* data, size_t n) override { return inner_->write(data, n); }
    bool seek(int64_t offset) override { return inner_->seek(offset); }
    int64_t position() const override { return inner_->position(); }
    int64_t size() const override { return inner_->size(); }
    bool flush() override { return inner_->flush(); }

private:
    std::unique_ptr<File> inner_;
    int64_t& count_;
};

class CountingFiles : public Files {
public:
    CountingFiles(Files& inner, int64_t& count) : inner_(inner), count_(count) {}
    Text runDirectory() const override { return inner_.runDirectory(); }
    Text currentDirectory() const override { return inner_.currentDirectory(); }
    bool setCurrentDirectory(const Text& p) override { return inner_.setCurrentDirectory(p); }
    bool exists(const Text& p) const override { return inner_.exists(p); }
    std::optional<uint32_t> attributes(const Text& p) const override { return inner_.attributes(p); }
    bool findDirectory(const Text& p) const override { return inner_.findDirectory(p); }
    std::vector<Text> list(const Text& folder) const override { return inner_.list(folder); }
    bool createFolder(const Text& p) override { return inner_.createFolder(p); }
    bool removeFolder(const Text& p) override { return inner_.removeFolder(p); }
    bool copyFile(const Text& from, const Text& to, bool replace) override {
        return inner_.copyFile(from, to, replace);
    }
    bool deleteFile(const Text& p) override { return inner_.deleteFile(p); }
    bool replaceFile(const Text& from, const Text& to) override { return inner_.replaceFile(from, to); }
    std::unique_ptr<File> openRead(const Text& p, OpenResult* result) override {
        std::unique_ptr<File> f = inner_.openRead(p, result);
        if (!f) return f;
        return std::make_unique<CountingFile>(std::move(f), count_);
    }
    std::unique_ptr<File> create(const Text& p) override {
        std::unique_ptr<File> f = inner_.create(p);
        if (!f) return f;
        return std::make_unique<CountingFile>(std::move(f), count_);
    }

private:
    Files& inner_;
    int64_t& count_;
};

}  // namespace

CountingServices::CountingServices(Services& inner)
    : inner_(inner), files_(std::make_unique<CountingFiles>(inner.files(), bytesRead_)) {}
CountingServices::~CountingServices() = default;

Files& CountingServices::files() { return *files_; }

}  // namespace bench
