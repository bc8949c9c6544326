// Writes a package file: header, descriptive part, stored files, folder tree.
#include <limits>

#include "package_model.h"

namespace pkgbuild {

namespace {

class Writer {
public:
    explicit Writer(std::vector<size_t>* boundaries) : marks(boundaries) {}
    void int32(int32_t v) {
        mark();
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
        mark();
    }
    void boolean(bool b) { int32(b ? 1 : 0); }
    void counted(const std::string& bytes) {
        int32(static_cast<int32_t>(bytes.size()));
        out += bytes;
        mark();
    }
    void zeroText(const std::string& t) {
        mark();
        out += t;
        mark();
        out.push_back('\0');
        mark();
    }
    std::string out;

private:
    // Notes where a value (or a value's length or zero byte) begins or ends.
    void mark() {
        if (marks && (marks->empty() || marks->back() != out.size())) marks->push_back(out.size());
    }
    std::vector<size_t>* marks;
};

bool FitsInt32(size_t n) { return n <= static_cast<size_t>(std::numeric_limits<int32_t>::max()); }

}  // namespace

std::string PackageProblem(const Package& p) {
    for (const std::string* s : {&p.productName, &p.readmeText, &p.licenseText, &p.backPicture,
                                 &p.promoImage, &p.sideImage, &p.spareImage, &p.defaultFolder})
        if (!FitsInt32(s->size())) return "a text or picture is larger than 2 GiB";
    for (const MenuEntry& m : p.menuEntries)
        if (m.link.find('\0') != std::string::npos || m.target.find('\0') != std::string::npos)
            return "menu entry \"" + m.link + "\" holds a zero byte, which ends its text";
    for (const StoredFile& f : p.storedFiles) {
        if (!FitsInt32(f.name.size()) || !FitsInt32(f.param.size()) || !FitsInt32(f.content.size()))
            return "stored file \"" + f.name + "\" is larger than 2 GiB";
        if (f.outside && f.outsideSize >= 0)
            return "outside file \"" + f.name + "\" needs a negative size";
    }
    for (const TreeEntry& e : p.tree)
        if (!FitsInt32(e.name.size()) || !FitsInt32(e.data.size()))
            return "tree entry \"" + e.name + "\" is larger than 2 GiB";
    return "";
}

std::string WritePackage(const Package& p, std::vector<size_t>* boundaries) {
    if (boundaries) boundaries->clear();
    Writer w(boundaries);
    w.int32(p.magic);
    w.int32(p.formatVersion);

    w.counted(p.productName);
    w.counted(p.readmeText);
    w.counted(p.licenseText);
    w.boolean(p.gradientOn);
    w.int32(p.gradientStyle);
    w.int32(p.gradientColor1);
    w.int32(p.gradientColor2);
    w.int32(p.gradientColor3);
    w.boolean(p.backPictureOn);
    w.counted(p.backPicture);
    w.boolean(p.backColorOn);
    w.int32(p.backColor);
    w.boolean(p.captionOn);
    w.counted(p.promoImage);
    w.int32(p.promoPlacement);
    w.boolean(p.wizardOnly);
    w.counted(p.sideImage);
    w.counted(p.spareImage);
    w.boolean(p.visualStyleOn);
    w.int32(p.visualStyle);
    if (p.formatVersion >= 4) w.boolean(p.programShortcutOn);
    if (p.formatVersion >= 3) {
        w.int32(static_cast<int32_t>(p.menuEntries.size()));
        for (const MenuEntry& m : p.menuEntries) {
            w.zeroText(m.link);
            w.zeroText(m.target);
            w.int32(m.kind);
        }
    }
    w.counted(p.defaultFolder);
    w.boolean(p.underProgramFiles);
    w.boolean(p.uninstallerOn);
    w.boolean(p.menuShortcutsOn);
    w.boolean(p.desktopShortcutOn);
    w.boolean(p.runAfterOn);

    w.int32(static_cast<int32_t>(p.storedFiles.size()));
    for (const StoredFile& f : p.storedFiles) {
        w.int32(f.kind);
        w.counted(f.name);
        w.counted(f.param);
        if (f.outside) {
            w.int32(f.outsideSize);
        } else {
            w.counted(f.content);
        }
    }

    w.int32(static_cast<int32_t>(p.tree.size()));
    for (const TreeEntry& e : p.tree) {
        w.int32(e.parent);
        w.int32(e.kind);
        w.counted(e.name);
        if (e.kind != 0) w.counted(e.data);
    }
    return w.out;
}

}  // namespace pkgbuild
