// The strict package reader used by dump and by the tests.
#include "package_reader.h"

#include <optional>
#include <set>

namespace pkgbuild {

namespace {

struct Stop {
    std::string why;
};

class Cursor {
public:
    explicit Cursor(const std::string& b) : bytes_(b) {}

    int32_t int32(const std::string& field) {
        need(pos_, 4, field);
        int32_t v = at(pos_);
        pos_ += 4;
        read.insert(field);
        return v;
    }
    bool boolean(const std::string& field) {
        size_t at = pos_;
        int32_t v = int32(field);
        if (v != 0 && v != 1)
            warn(field + " at offset " + std::to_string(at) + " is " + std::to_string(v) +
                 ", neither 0 nor 1 (the installer reads it as true)");
        return v != 0;
    }
    // A CountedText or ByteBlock: read whole, or the position stays.
    std::string counted(const std::string& field) {
        size_t at = pos_;
        need(at, 4, field);
        int32_t n = this->at(at);
        if (n < 0)
            throw Stop{field + " at offset " + std::to_string(at) + " has the negative length " +
                       std::to_string(n) + "; the package is malformed"};
        need(at, 4 + static_cast<size_t>(n), field);
        std::string s = bytes_.substr(at + 4, static_cast<size_t>(n));
        pos_ = at + 4 + static_cast<size_t>(n);
        read.insert(field);
        return s;
    }
    // A run of exactly n bytes after its own length field.
    std::string raw(size_t n, const std::string& field) {
        need(pos_, n, field);
        std::string s = bytes_.substr(pos_, n);
        pos_ += n;
        read.insert(field);
        return s;
    }
    std::string zeroText(const std::string& field) {
        size_t z = bytes_.find('\0', pos_);
        if (z == std::string::npos)
            throw Stop{"the package ends at offset " + std::to_string(bytes_.size()) + " inside " + field +
                       " (started at offset " + std::to_string(pos_) + ", no closing zero byte)"};
        std::string s = bytes_.substr(pos_, z - pos_);
        pos_ = z + 1;
        return s;
    }
    size_t position() const { return pos_; }
    size_t left() const { return bytes_.size() - pos_; }
    std::vector<std::string> warnings;
    std::set<std::string> read;  // names of the fields read whole
    void warn(const std::string& w) { warnings.push_back(w); }

private:
    int32_t at(size_t offset) const {
        uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= static_cast<uint32_t>(static_cast<unsigned char>(bytes_[offset + i])) << (8 * i);
        return static_cast<int32_t>(u);
    }
    void need(size_t from, size_t n, const std::string& field) const {
        size_t left = bytes_.size() - from;
        if (left < n)
            throw Stop{"the package ends at offset " + std::to_string(bytes_.size()) + " inside " + field +
                       " (started at offset " + std::to_string(from) + ", needs " + std::to_string(n) +
                       " bytes, " + std::to_string(left) + " left)"};
    }
    const std::string& bytes_;
    size_t pos_ = 0;
};

void ReadDescriptive(Cursor& c, Package& p) {
    p.productName = c.counted("ProductName");
    p.readmeText = c.counted("ReadmeText");
    p.licenseText = c.counted("LicenseText");
    p.gradientOn = c.boolean("GradientOn");
    p.gradientStyle = c.int32("GradientStyle");
    p.gradientColor1 = c.int32("GradientColor1");
    p.gradientColor2 = c.int32("GradientColor2");
    p.gradientColor3 = c.int32("GradientColor3");
    p.backPictureOn = c.boolean("BackPictureOn");
    p.backPicture = c.counted("BackPicture");
    p.backColorOn = c.boolean("BackColorOn");
    p.backColor = c.int32("BackColor");
    p.captionOn = c.boolean("CaptionOn");
    p.promoImage = c.counted("PromoImage");
    p.promoPlacement = c.int32("PromoPlacement");
    p.wizardOnly = c.boolean("WizardOnly");
    p.sideImage = c.counted("SideImage");
    p.spareImage = c.counted("SpareImage");
    p.visualStyleOn = c.boolean("VisualStyleOn");
    p.visualStyle = c.int32("VisualStyle");
    if (p.formatVersion >= 4) p.programShortcutOn = c.boolean("ProgramShortcutOn");
    if (p.formatVersion >= 3) {
        int32_t m = c.int32("MenuEntryCount");
        for (int32_t i = 1; i <= m; ++i) {
            std::string n = "menu entry " + std::to_string(i);
            MenuEntry e;
            e.link = c.zeroText(n + " MenuEntryLink");
            e.target = c.zeroText(n + " MenuEntryTarget");
            e.kind = c.int32(n + " MenuEntryKind");
            p.menuEntries.push_back(e);
        }
    }
    p.defaultFolder = c.counted("DefaultFolder");
    p.underProgramFiles = c.boolean("UnderProgramFiles");
    p.uninstallerOn = c.boolean("UninstallerOn");
    p.menuShortcutsOn = c.boolean("MenuShortcutsOn");
    p.desktopShortcutOn = c.boolean("DesktopShortcutOn");
    p.runAfterOn = c.boolean("RunAfterOn");
}

void ReadStoredFiles(Cursor& c, Package& p) {
    int32_t n = c.int32("StoredFileCount");
    for (int32_t i = 1; i <= n; ++i) {
        std::string r = "stored file " + std::to_string(i);
        StoredFile f;
        f.kind = c.int32(r + " FileKind");
        f.name = c.counted(r + " FileName");
        f.param = c.counted(r + " FileParam");
        int32_t size = c.int32(r + " FileSize");
        if (size < 0) {
            f.outside = true;
            f.outsideSize = size;
        } else {
            f.content = c.raw(static_cast<size_t>(size), r + " content");
        }
        if (f.name.empty()) c.warn(r + " has an empty FileName");
        p.storedFiles.push_back(std::move(f));
    }
}

void ReadTree(Cursor& c, Package& p) {
    int32_t m = c.int32("TreeEntryCount");
    for (int32_t i = 1; i <= m; ++i) {
        std::string r = "tree entry " + std::to_string(i);
        TreeEntry e;
        e.parent = c.int32(r + " ParentIndex");
        e.kind = c.int32(r + " EntryKind");
        e.name = c.counted(r + " EntryName");
        if (e.kind != 0) e.data = c.counted(r + " EntryData");
        if (e.parent < 0 || e.parent >= i)
            c.warn(r + " has ParentIndex " + std::to_string(e.parent) + ", which names no earlier entry");
        else if (e.parent > 0 && p.tree[static_cast<size_t>(e.parent - 1)].kind != 0)
            c.warn(r + " has ParentIndex " + std::to_string(e.parent) + ", which names a file, not a folder");
        p.tree.push_back(std::move(e));
    }
}

}  // namespace

ReadOutcome ReadPackage(const std::string& bytes) {
    ReadOutcome out;
    Cursor c(bytes);
    try {
        out.package.magic = c.int32("Magic");
        out.package.formatVersion = c.int32("FormatVersion");
        if (out.package.magic != PackageMagic)
            throw Stop{"Magic is " + std::to_string(out.package.magic) + ", not " + std::to_string(PackageMagic) +
                       "; this is not a package"};
        if (out.package.formatVersion > NewestFormatVersion)
            throw Stop{"FormatVersion is " + std::to_string(out.package.formatVersion) + ", above " +
                       std::to_string(NewestFormatVersion) + "; the installer refuses this package"};
        out.headerAccepted = true;
        ReadDescriptive(c, out.package);
        out.payloadOffset = static_cast<int64_t>(c.position());
        ReadStoredFiles(c, out.package);
        ReadTree(c, out.package);
        out.complete = true;
        out.trailingBytes = static_cast<int64_t>(c.left());
    } catch (const Stop& s) {
        out.problem = s.why;
    }
    out.warnings = std::move(c.warnings);
    out.fieldsRead = std::move(c.read);
    return out;
}

std::string TreePath(const std::vector<TreeEntry>& tree, size_t i) {
    if (i == 0 || i > tree.size()) return "";
    std::string path = tree[i - 1].name;
    size_t at = i;
    for (int32_t p = tree[i - 1].parent; p != 0;) {
        if (p < 0 || static_cast<size_t>(p) >= at) return "";
        at = static_cast<size_t>(p);
        path = tree[at - 1].name + "\\" + path;
        p = tree[at - 1].parent;
    }
    return path;
}

}  // namespace pkgbuild
