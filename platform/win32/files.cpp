// Files and folders through the wide file API.
#include "internal.h"

namespace win32 {

using namespace platform;

namespace {

class W32File : public File {
public:
    explicit W32File(HANDLE h) : h_(h) {}
    ~W32File() override { CloseHandle(h_); }
    size_t read(void* buffer, size_t n) override {
        DWORD got = 0;
        if (!ReadFile(h_, buffer, static_cast<DWORD>(n), &got, nullptr)) return 0;
        return got;
    }
    bool write(const void* data, size_t n) override {
        DWORD put = 0;
        return WriteFile(h_, data, static_cast<DWORD>(n), &put, nullptr) && put == n;
    }
    bool seek(int64_t offset) override {
        LARGE_INTEGER to;
        to.QuadPart = offset;
        return offset >= 0 && SetFilePointerEx(h_, to, nullptr, FILE_BEGIN);
    }
    int64_t position() const override {
        LARGE_INTEGER zero{}, at{};
        return SetFilePointerEx(h_, zero, &at, FILE_CURRENT) ? at.QuadPart : 0;
    }
    int64_t size() const override {
        LARGE_INTEGER s{};
        return GetFileSizeEx(h_, &s) ? s.QuadPart : 0;
    }
    bool flush() override { return FlushFileBuffers(h_) != FALSE; }

private:
    HANDLE h_;
};

Text WithoutTrailingSlash(Text t) {
    if (t.size() > 3 && EndsWithCharacter(t, '\\')) t.pop_back();
    return t;
}

class W32Files : public Files {
public:
    Text runDirectory() const override {
        std::wstring w(32768, L'\0');
        DWORD n = GetModuleFileNameW(nullptr, w.data(), static_cast<DWORD>(w.size()));
        w.resize(n);
        size_t cut = w.find_last_of(L'\\');
        return Narrow(cut == std::wstring::npos ? std::wstring() : w.substr(0, cut));
    }
    Text currentDirectory() const override {
        std::wstring w(32768, L'\0');
        DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(w.size()), w.data());
        w.resize(n);
        return WithoutTrailingSlash(Narrow(w));
    }
    bool setCurrentDirectory(const Text& path) override {
        return !path.empty() && SetCurrentDirectoryW(Wide(path).c_str());
    }

    bool exists(const Text& path) const override { return attributes(path).has_value(); }
    std::optional<uint32_t> attributes(const Text& path) const override {
        if (path.empty()) return std::nullopt;
        DWORD a = GetFileAttributesW(Wide(path).c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        return static_cast<uint32_t>(a);
    }
    bool findDirectory(const Text& path) const override {
        if (path.empty()) return false;
        WIN32_FIND_DATAW d;
        HANDLE f = FindFirstFileW(Wide(path).c_str(), &d);
        if (f == INVALID_HANDLE_VALUE) return false;
        FindClose(f);
        return (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    std::vector<Text> list(const Text& folder) const override {
        std::vector<Text> names;
        Text pattern = folder;
        if (!EndsWithCharacter(pattern, '\\')) pattern += "\\";
        WIN32_FIND_DATAW d;
        HANDLE f = FindFirstFileW(Wide(pattern + "*").c_str(), &d);
        if (f == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring n = d.cFileName;
            if (n != L"." && n != L"..") names.push_back(Narrow(n));
        } while (FindNextFileW(f, &d));
        FindClose(f);
        return names;
    }

    bool createFolder(const Text& path) override { return CreateDirectoryW(Wide(path).c_str(), nullptr); }
    bool removeFolder(const Text& path) override { return RemoveDirectoryW(Wide(path).c_str()); }
    bool copyFile(const Text& from, const Text& to, bool replace) override {
        return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), !replace);
    }
    bool deleteFile(const Text& path) override { return DeleteFileW(Wide(path).c_str()); }
    bool replaceFile(const Text& from, const Text& to) override {
        return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }

    std::unique_ptr<File> openRead(const Text& path, OpenResult* result) override {
        auto set = [&](OpenResult r) { if (result) *result = r; };
        if (path.empty()) return set(OpenResult::NotFound), nullptr;
        HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD e = GetLastError();
            bool missing = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
            set(missing ? OpenResult::NotFound : OpenResult::CannotOpen);
            return nullptr;
        }
        set(OpenResult::Ok);
        return std::make_unique<W32File>(h);
    }

    std::unique_ptr<File> create(const Text& path) override {
        if (path.empty()) return nullptr;
        HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<W32File>(h);
    }
};

}  // namespace

std::unique_ptr<Files> MakeFiles() { return std::make_unique<W32Files>(); }

}  // namespace win32
