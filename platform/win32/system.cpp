// Processes, clock, registry and profile files.
#include "internal.h"

namespace win32 {

using namespace platform;

namespace {

class W32Processes : public Processes {
public:
    // Blanks separate arguments; double quotes group blanks and are dropped.
    std::vector<Text> arguments() const override {
        std::vector<std::wstring> parts;
        const wchar_t* p = GetCommandLineW();
        std::wstring cur;
        bool inQuotes = false, inArg = false;
        for (; *p; ++p) {
            wchar_t ch = *p;
            if (ch == L'"') {
                inQuotes = !inQuotes;
                inArg = true;
            } else if ((ch == L' ' || ch == L'\t') && !inQuotes) {
                if (inArg) parts.push_back(cur);
                cur.clear();
                inArg = false;
            } else {
                cur += ch;
                inArg = true;
            }
        }
        if (inArg) parts.push_back(cur);
        std::vector<Text> args;
        for (size_t i = 1; i < parts.size(); ++i) args.push_back(Narrow(parts[i]));
        return args;
    }

    bool start(const Text& commandLine, const Text& currentDirectory) override {
        std::wstring line = Wide(commandLine);
        std::wstring dir = Wide(currentDirectory);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            dir.empty() ? nullptr : dir.c_str(), &si, &pi))
            return false;
        WaitForInputIdle(pi.hProcess, 1000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return true;
    }

    [[noreturn]] void exit(int code) override { ExitProcess(static_cast<UINT>(code)); }
};

class W32Clock : public Clock {
public:
    int64_t milliseconds() const override { return static_cast<int64_t>(GetTickCount64()); }
    int64_t dateTimeSeconds() const override {
        // The local date-time, counted as if it were UTC.
        SYSTEMTIME st;
        GetLocalTime(&st);
        FILETIME ft;
        SystemTimeToFileTime(&st, &ft);
        ULARGE_INTEGER u;
        u.LowPart = ft.dwLowDateTime;
        u.HighPart = ft.dwHighDateTime;
        return static_cast<int64_t>(u.QuadPart / 10'000'000ULL) - 11'644'473'600LL;
    }
};

HKEY Root(Hive h) { return h == Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// Profile calls take a file name without a folder as one in the Windows
// directory; the suite means the current directory.
std::wstring ProfilePath(const Text& file) {
    std::wstring w = Wide(file);
    wchar_t full[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(w.c_str(), MAX_PATH * 4, full, nullptr);
    return n > 0 && n < MAX_PATH * 4 ? std::wstring(full, n) : w;
}

class W32Registry : public Registry {
public:
    std::optional<Text> readString(Hive hive, const Text& key, const Text& value) const override {
        HKEY k;
        if (RegOpenKeyExW(Root(hive), Wide(key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0, size = 0;
        std::wstring name = Wide(value);
        std::optional<Text> out;
        if (RegQueryValueExW(k, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
            size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
            if (RegQueryValueExW(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                 &size) == ERROR_SUCCESS)
                out = Narrow(data.c_str());
        }
        RegCloseKey(k);
        return out;
    }

    bool writeString(Hive hive, const Text& key, const Text& value, const Text& data) override {
        std::wstring w = Wide(data);
        return write(hive, key, value, REG_SZ, reinterpret_cast<const BYTE*>(w.c_str()),
                     static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
    }
    bool writeDword(Hive hive, const Text& key, const Text& value, uint32_t data) override {
        DWORD d = data;
        return write(hive, key, value, REG_DWORD, reinterpret_cast<const BYTE*>(&d), sizeof d);
    }
    bool deleteKey(Hive hive, const Text& key) override {
        // The key goes with everything under it.
        return !key.empty() && RegDeleteTreeW(Root(hive), Wide(key).c_str()) == ERROR_SUCCESS;
    }

    bool writeProfileString(const Text& file, const Text& section, const Text& key,
                            const Text& value) override {
        return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                          ProfilePath(file).c_str());
    }

    std::optional<Text> readProfileString(const Text& file, const Text& section,
                                          const Text& key) const override {
        // Present keys only: an empty value and a missing key differ.
        bool present = false;
        for (const Text& k : profileKeys(file, section)) present = present || LowerAscii(k) == LowerAscii(key);
        if (!present) return std::nullopt;
        std::wstring buf(65536, L'\0');
        DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", buf.data(),
                                           static_cast<DWORD>(buf.size()), ProfilePath(file).c_str());
        return Narrow(buf.c_str(), static_cast<int>(n));
    }

    std::vector<Text> profileKeys(const Text& file, const Text& section) const override {
        std::wstring buf(65536, L'\0');
        DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), nullptr, L"", buf.data(),
                                           static_cast<DWORD>(buf.size()), ProfilePath(file).c_str());
        std::vector<Text> keys;
        for (size_t i = 0; i < n;) {
            size_t end = buf.find(L'\0', i);
            if (end == std::wstring::npos || end == i) break;
            keys.push_back(Narrow(buf.c_str() + i, static_cast<int>(end - i)));
            i = end + 1;
        }
        return keys;
    }

private:
    static bool write(Hive hive, const Text& key, const Text& value, DWORD type, const BYTE* data,
                      DWORD size) {
        HKEY k;
        if (RegCreateKeyExW(Root(hive), Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
            ERROR_SUCCESS)
            return false;
        LONG r = RegSetValueExW(k, Wide(value).c_str(), 0, type, data, size);
        RegCloseKey(k);
        return r == ERROR_SUCCESS;
    }
};

}  // namespace

std::unique_ptr<Processes> MakeProcesses() { return std::make_unique<W32Processes>(); }
std::unique_ptr<Clock> MakeClock() { return std::make_unique<W32Clock>(); }
std::unique_ptr<Registry> MakeRegistry() { return std::make_unique<W32Registry>(); }

}  // namespace win32
