// Writing installed files: whole from memory, or streamed from the package.
#include <vector>

#include "run_setup.h"

namespace installer {

namespace {

constexpr int64_t ChunkBytes = 1 << 20;

std::unique_ptr<platform::File> CreateOrFail(Installer& app, const Text& path) {
    std::unique_ptr<platform::File> f = app.sys.files().create(path);
    if (!f) FatalError(app, "创建文件“" + path + "”失败!");
    return f;
}

[[noreturn]] void WriteFailed(Installer& app, const Text& path) {
    FatalError(app, "写出文件“" + path + "”失败!");
}

}  // namespace

void WriteFileBytes(Installer& app, const Text& path, const std::string& data) {
    std::unique_ptr<platform::File> f = CreateOrFail(app, path);
    for (size_t at = 0; at < data.size(); at += ChunkBytes) {
        size_t n = std::min<size_t>(ChunkBytes, data.size() - at);
        if (!f->write(data.data() + at, n)) WriteFailed(app, path);
    }
    if (!f->flush()) WriteFailed(app, path);
}

void WriteFileFromPackage(Installer& app, const Text& path, platform::File& package, int64_t n) {
    if (n > package.size() - package.position()) PackageDamaged(app);
    std::unique_ptr<platform::File> f = CreateOrFail(app, path);
    std::vector<char> buffer(static_cast<size_t>(std::min(n, ChunkBytes)));
    for (int64_t left = n; left > 0;) {
        size_t want = static_cast<size_t>(std::min(left, ChunkBytes));
        size_t got = 0;
        while (got < want) {
            size_t r = package.read(buffer.data() + got, want - got);
            if (r == 0) PackageDamaged(app);
            got += r;
        }
        if (!f->write(buffer.data(), got)) WriteFailed(app, path);
        left -= static_cast<int64_t>(got);
    }
    if (!f->flush()) WriteFailed(app, path);
}

void PackageDamaged(Installer& app) {
    FatalError(app, "数据文件“" + app.package.PackagePath + "”已损坏或不完整!");
}

void PackageMalformed(Installer& app) {
    FatalError(app, "数据文件“" + app.package.PackagePath + "”格式错误!");
}

}  // namespace installer
