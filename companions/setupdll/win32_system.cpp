#include "win32_system.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace setupdll {

namespace {

constexpr UINT Gbk = 936;

std::string ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
    return Narrow(path);
}

class Win32Library : public platform::Library {
public:
    explicit Win32Library(HMODULE m) : m_(m) {}
    ~Win32Library() override { FreeLibrary(m_); }
    void* symbol(const char* name) const override {
        return reinterpret_cast<void*>(GetProcAddress(m_, name));
    }

private:
    HMODULE m_;
};

}  // namespace

std::wstring Wide(const std::string& gbk) {
    if (gbk.empty()) return L"";
    int n = MultiByteToWideChar(Gbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(Gbk, 0, gbk.data(), static_cast<int>(gbk.size()), w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& utf16) {
    if (utf16.empty()) return "";
    int n = WideCharToMultiByte(Gbk, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(Gbk, 0, utf16.data(), static_cast<int>(utf16.size()), s.data(), n, nullptr, nullptr);
    return s;
}

bool Win32RegSystem::createFolder(const Text& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }

bool Win32RegSystem::folderExists(const Text& path) {
    DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32RegSystem::makeShortcut(const Text& link, const Text& target) {
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))))
        return false;
    std::wstring wideTarget = Wide(target);
    bool ok = SUCCEEDED(shellLink->SetPath(wideTarget.c_str()));
    size_t cut = wideTarget.find_last_of(L'\\');
    if (ok && cut != std::wstring::npos) shellLink->SetWorkingDirectory(wideTarget.substr(0, cut).c_str());
    IPersistFile* file = nullptr;
    if (ok) ok = SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    if (ok) {
        ok = SUCCEEDED(file->Save(Wide(link).c_str(), TRUE));
        file->Release();
    }
    shellLink->Release();
    return ok;
}

bool Win32RegSystem::writeRecord(const Text& file, const Text& section, const Text& key, const Text& value) {
    return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      Wide(file).c_str()) != 0;
}

ShellPlaces Win32ShellPlaces() { return {ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_DESKTOPDIRECTORY)}; }

std::unique_ptr<platform::Library> Win32Libraries::load(const Text& path) {
    HMODULE m = LoadLibraryExW(Wide(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!m) return nullptr;
    return std::make_unique<Win32Library>(m);
}

}  // namespace setupdll
