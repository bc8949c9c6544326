// The start of boardtool-shared on Windows: find the run-time library by
// full path and take the services from it. Nothing here links the platform
// layer itself.
#define UNICODE
#define _UNICODE
#include <windows.h>

#include <string>

#include "loader.h"
#include "win32_loader.h"

namespace win32 {

namespace {

std::wstring Wide(const platform::Text& t) {
    if (t.empty()) return std::wstring();
    int n = MultiByteToWideChar(936, 0, t.data(), static_cast<int>(t.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, t.data(), static_cast<int>(t.size()), w.data(), n);
    return w;
}

platform::Text Narrow(const std::wstring& w) {
    if (w.empty()) return platform::Text();
    int n = WideCharToMultiByte(936, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    platform::Text t(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, w.data(), static_cast<int>(w.size()), t.data(), n, nullptr, nullptr);
    return t;
}

class Win32LoaderHost : public platform::LoaderHost {
public:
    platform::Text ownFolder() override {
        wchar_t path[MAX_PATH * 4];
        DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
        std::wstring p(path, n);
        size_t slash = p.find_last_of(L"\\/");
        return Narrow(slash == std::wstring::npos ? std::wstring() : p.substr(0, slash));
    }
    std::optional<platform::Text> registryFolder() override {
        wchar_t buf[MAX_PATH * 4];
        DWORD size = sizeof buf;
        LSTATUS rc = RegGetValueW(HKEY_CURRENT_USER, Wide(platform::RuntimeFolderKey).c_str(),
                                  Wide(platform::RuntimeFolderValue).c_str(), RRF_RT_REG_SZ, nullptr, buf,
                                  &size);
        if (rc != ERROR_SUCCESS) return std::nullopt;
        return Narrow(buf);
    }
    void* open(const platform::Text& fullPath) override {
        return LoadLibraryExW(Wide(fullPath).c_str(), nullptr,
                              LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    void* symbol(void* library, const char* name) override {
        return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
    }
    void close(void* library) override { FreeLibrary(static_cast<HMODULE>(library)); }
    void showError(const platform::Text& text, const platform::Text& caption) override {
        MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONSTOP);
    }
};

}  // namespace

int RunOnRuntimeLibrary(platform::ProgramMain programMain) {
    SetDllDirectoryW(L"");
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    Win32LoaderHost host;
    return platform::RunOnRuntime(host, programMain, nullptr);
}

}  // namespace win32
