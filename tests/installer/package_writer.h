// A small writer of installation packages for the tests: each field laid
// out in file order, with switches to cut or damage the result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testpkg {

inline std::string Int32(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return b;
}
inline std::string Counted(const std::string& bytes) {
    return Int32(static_cast<int32_t>(bytes.size())) + bytes;
}
inline std::string Zero(const std::string& text) { return text + std::string(1, '\0'); }

struct MenuEntry {
    std::string link, target;
    int32_t kind = 0;
};

struct StoredFile {
    int32_t kind = 0;
    std::string name;
    std::string param;
    std::string content;
    std::optional<int32_t> size = std::nullopt;  // default: the content's size; negative: outside file
};

struct TreeEntry {
    int32_t parent = 0;
    int32_t kind = 0;  // 0 = folder
    std::string name;
    std::string data;
};

struct Package {
    int32_t magic = 45872376;
    int32_t version = 4;
    std::string product = "Demo";
    std::string readme = "Read me";
    std::string license = "Licence";
    int32_t gradientOn = 0, gradientStyle = 0;
    int32_t color1 = 0, color2 = 0, color3 = 0;
    int32_t backPictureOn = 0;
    std::string backPicture;
    int32_t backColorOn = 0, backColor = 0;
    int32_t captionOn = 0;
    std::string promoImage;
    int32_t promoPlacement = -1;
    int32_t wizardOnly = 0;
    std::string sideImage, spareImage;
    int32_t visualStyleOn = 0, visualStyle = 0;
    int32_t programShortcutOn = 0;
    std::vector<MenuEntry> menu;
    std::optional<int32_t> menuCount;  // default: menu.size()
    std::string defaultFolder = "D:\\Apps\\Demo";
    int32_t underProgramFiles = 0, uninstallerOn = 0, menuShortcutsOn = 0,
            desktopShortcutOn = 0, runAfterOn = 0;
    std::vector<StoredFile> files;
    std::vector<TreeEntry> tree;

    // Header and descriptive part, up to the payload.
    std::string descriptive() const {
        std::string b = Int32(magic) + Int32(version);
        b += Counted(product) + Counted(readme) + Counted(license);
        b += Int32(gradientOn) + Int32(gradientStyle) + Int32(color1) + Int32(color2) +
             Int32(color3);
        b += Int32(backPictureOn) + Counted(backPicture) + Int32(backColorOn) + Int32(backColor);
        b += Int32(captionOn) + Counted(promoImage) + Int32(promoPlacement) + Int32(wizardOnly);
        b += Counted(sideImage) + Counted(spareImage) + Int32(visualStyleOn) + Int32(visualStyle);
        if (version >= 4) b += Int32(programShortcutOn);
        if (version >= 3) {
            b += Int32(menuCount ? *menuCount : static_cast<int32_t>(menu.size()));
            for (const MenuEntry& e : menu) b += Zero(e.link) + Zero(e.target) + Int32(e.kind);
        }
        b += Counted(defaultFolder) + Int32(underProgramFiles) + Int32(uninstallerOn) +
             Int32(menuShortcutsOn) + Int32(desktopShortcutOn) + Int32(runAfterOn);
        return b;
    }

    std::string payload() const {
        std::string b = Int32(static_cast<int32_t>(files.size()));
        for (const StoredFile& f : files) {
            b += Int32(f.kind) + Counted(f.name) + Counted(f.param);
            int32_t size = f.size ? *f.size : static_cast<int32_t>(f.content.size());
            b += Int32(size);
            if (size >= 0) b += f.content;
        }
        b += Int32(static_cast<int32_t>(tree.size()));
        for (const TreeEntry& e : tree) {
            b += Int32(e.parent) + Int32(e.kind) + Counted(e.name);
            if (e.kind != 0) b += Counted(e.data);
        }
        return b;
    }

    std::string bytes() const { return descriptive() + payload(); }
};

// A 24-bit bitmap of the given size (header only; the pixels are zeros).
inline std::string Bitmap(int width, int height) {
    int row = (width * 3 + 3) / 4 * 4;
    int data = row * height;
    std::string b = "BM" + Int32(54 + data) + Int32(0) + Int32(54);
    b += Int32(40) + Int32(width) + Int32(height) + std::string("\x01\x00\x18\x00", 4) +
         Int32(0) + Int32(data) + Int32(2835) + Int32(2835) + Int32(0) + Int32(0);
    b += std::string(static_cast<size_t>(data), '\0');
    return b;
}

}  // namespace testpkg
