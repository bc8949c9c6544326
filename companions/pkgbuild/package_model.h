// In-memory description of an installation package: every field the
// package file carries, in the order the file carries it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pkgbuild {

constexpr int32_t PackageMagic = 45872376;  // bytes F8 F4 BB 02
constexpr int32_t NewestFormatVersion = 4;

// Stored-file kinds the installer gives a meaning to.
constexpr int32_t KindMainProgram = 2;
constexpr int32_t KindComponent = 6;

struct MenuEntry {
    std::string link;    // path relative to the Programs folder of the Start menu
    std::string target;  // shortcut: relative to the installation folder; folder: like link
    int32_t kind = 0;    // 0 = a folder, any other value = a shortcut
    bool operator==(const MenuEntry&) const = default;
};

struct StoredFile {
    int32_t kind = 0;
    std::string name;     // relative to the installation folder
    std::string param;    // registration parameter of a component
    bool outside = false; // no content in the package: FileSize is negative
    int32_t outsideSize = -1;
    std::string content;
    bool operator==(const StoredFile&) const = default;
};

struct TreeEntry {
    int32_t parent = 0;  // 0 = the installation folder, else 1-based index of a folder entry
    int32_t kind = 0;    // 0 = a folder, any other value = a file
    std::string name;
    std::string data;    // files only
    bool operator==(const TreeEntry&) const = default;
};

struct Package {
    int32_t magic = PackageMagic;
    int32_t formatVersion = NewestFormatVersion;

    std::string productName;
    std::string readmeText;
    std::string licenseText;
    bool gradientOn = false;
    int32_t gradientStyle = 0;
    int32_t gradientColor1 = 0;
    int32_t gradientColor2 = 0;
    int32_t gradientColor3 = 0;
    bool backPictureOn = false;
    std::string backPicture;
    bool backColorOn = false;
    int32_t backColor = 0;
    bool captionOn = false;
    std::string promoImage;
    int32_t promoPlacement = -1;
    bool wizardOnly = false;
    std::string sideImage;
    std::string spareImage;
    bool visualStyleOn = false;
    int32_t visualStyle = 0;
    bool programShortcutOn = false;       // FormatVersion 4 and later
    std::vector<MenuEntry> menuEntries;   // FormatVersion 3 and later
    std::string defaultFolder;
    bool underProgramFiles = false;
    bool uninstallerOn = false;
    bool menuShortcutsOn = false;
    bool desktopShortcutOn = false;
    bool runAfterOn = false;

    std::vector<StoredFile> storedFiles;
    std::vector<TreeEntry> tree;

    bool operator==(const Package&) const = default;
};

// The package file's bytes. With boundaries, also every offset where a
// value, a length or a zero terminator begins or ends, in rising order.
std::string WritePackage(const Package& p, std::vector<size_t>* boundaries = nullptr);

// Why a package cannot be written (a value that does not fit its field),
// empty when it can.
std::string PackageProblem(const Package& p);

}  // namespace pkgbuild
