// The Windows side of setup.dll: GBK texts turned into UTF-16 at the API
// boundary (code page 936, whatever the system's own code page is), the
// folders and shortcuts of reg, and libraries loaded for regocx.
#pragma once

#include <string>

#include "platform/system.h"
#include "reg_plan.h"

namespace setupdll {

std::wstring Wide(const std::string& gbk);
std::string Narrow(const std::wstring& utf16);

class Win32RegSystem : public RegSystem {
public:
    bool createFolder(const Text& path) override;
    bool folderExists(const Text& path) override;
    bool makeShortcut(const Text& link, const Text& target) override;  // IShellLinkW
    bool writeRecord(const Text& file, const Text& section, const Text& key, const Text& value) override;
};

// The current user's Programs and desktop folders.
ShellPlaces Win32ShellPlaces();

class Win32Libraries : public platform::Libraries {
public:
    std::unique_ptr<platform::Library> load(const Text& path) override;
};

}  // namespace setupdll
