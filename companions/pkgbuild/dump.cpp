#include "dump.h"

#include <cstdio>
#include <sstream>

namespace pkgbuild {

namespace {

// A text as it stands in the package, control bytes escaped, in quotes.
std::string Quoted(const std::string& t) {
    std::string out = "\"";
    for (unsigned char c : t) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '"') out += "\\\"";
        else if (c < 0x20 || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string TextField(const std::string& t) {
    std::string s = Quoted(t) + " (" + std::to_string(t.size()) + " bytes";
    size_t z = t.find('\0');
    if (z != std::string::npos) s += "; read as the " + std::to_string(z) + " bytes before the zero byte";
    return s + ")";
}

std::string Color(int32_t c) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X (%d)", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, c);
    return buf;
}

std::string Picture(const std::string& bytes) {
    if (bytes.empty()) return "none (0 bytes)";
    std::string s = std::to_string(bytes.size()) + " bytes, " + PictureFormat(bytes);
    if (PictureFormat(bytes) == "bitmap" && bytes.size() >= 26) {
        auto i32 = [&](size_t at) {
            uint32_t u = 0;
            for (int k = 0; k < 4; ++k) u |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + k])) << (8 * k);
            return static_cast<int32_t>(u);
        };
        s += " " + std::to_string(i32(18)) + " x " + std::to_string(i32(22) < 0 ? -i32(22) : i32(22));
    }
    return s;
}

std::string Kind(int32_t k) {
    if (k == KindMainProgram) return "2 (main program)";
    if (k == KindComponent) return "6 (component)";
    return std::to_string(k) + " (file)";
}

}  // namespace

std::string PictureFormat(const std::string& b) {
    auto starts = [&](const std::string& p) { return b.compare(0, p.size(), p) == 0; };
    if (starts("BM")) return "bitmap";
    if (starts("\xFF\xD8")) return "JPEG";
    if (starts(std::string("\0\0\1\0", 4))) return "icon";
    if (starts(std::string("\0\0\2\0", 4))) return "cursor";
    if (starts("GIF8")) return "GIF";
    if (!b.empty() && static_cast<unsigned char>(b[0]) == 0x0A) return "PCX";
    return "unknown";
}

std::string DumpPackage(const ReadOutcome& r, size_t fileSize) {
    const Package& p = r.package;
    std::ostringstream o;
    auto row = [&](const char* name, const std::string& v) {
        if (r.fieldsRead.count(name)) o << "  " << name << std::string(20 - std::string(name).size(), ' ') << v << "\n";
    };
    auto yes = [](bool b) { return std::string(b ? "1 (on)" : "0 (off)"); };
    o << "Package of " << fileSize << " bytes\n";
    o << "Header\n";
    char magic[32];
    std::snprintf(magic, sizeof magic, "%d (0x%08X)", p.magic, static_cast<uint32_t>(p.magic));
    row("Magic", magic);
    row("FormatVersion", std::to_string(p.formatVersion));
    if (r.headerAccepted) {
        o << "Descriptive part\n";
        row("ProductName", TextField(p.productName));
        row("ReadmeText", TextField(p.readmeText));
        row("LicenseText", TextField(p.licenseText));
        row("GradientOn", yes(p.gradientOn));
        row("GradientStyle", std::to_string(p.gradientStyle));
        row("GradientColor1", Color(p.gradientColor1));
        row("GradientColor2", Color(p.gradientColor2));
        row("GradientColor3", Color(p.gradientColor3));
        row("BackPictureOn", yes(p.backPictureOn));
        row("BackPicture", Picture(p.backPicture));
        row("BackColorOn", yes(p.backColorOn));
        row("BackColor", Color(p.backColor));
        row("CaptionOn", yes(p.captionOn));
        row("PromoImage", Picture(p.promoImage));
        row("PromoPlacement", std::to_string(p.promoPlacement) + (p.promoPlacement < 0 ? " (none)" : ""));
        row("WizardOnly", yes(p.wizardOnly));
        row("SideImage", Picture(p.sideImage));
        row("SpareImage", Picture(p.spareImage));
        row("VisualStyleOn", yes(p.visualStyleOn));
        row("VisualStyle", std::to_string(p.visualStyle));
        if (p.formatVersion >= 4) row("ProgramShortcutOn", yes(p.programShortcutOn));
        else if (r.fieldsRead.count("VisualStyle")) o << "  ProgramShortcutOn   not in FormatVersion " << p.formatVersion << "\n";
        if (p.formatVersion >= 3 && r.fieldsRead.count("MenuEntryCount")) {
            row("MenuEntryCount", std::to_string(p.menuEntries.size()));
            for (size_t i = 0; i < p.menuEntries.size(); ++i) {
                const MenuEntry& m = p.menuEntries[i];
                o << "    #" << i + 1 << " " << (m.kind == 0 ? "folder  " : "shortcut") << " link " << Quoted(m.link)
                  << " target " << Quoted(m.target) << " kind " << m.kind << "\n";
            }
        } else if (p.formatVersion < 3 && r.fieldsRead.count("VisualStyle")) {
            o << "  MenuEntryCount      not in FormatVersion " << p.formatVersion << "\n";
        }
        row("DefaultFolder", TextField(p.defaultFolder));
        row("UnderProgramFiles", yes(p.underProgramFiles));
        row("UninstallerOn", yes(p.uninstallerOn));
        row("MenuShortcutsOn", yes(p.menuShortcutsOn));
        row("DesktopShortcutOn", yes(p.desktopShortcutOn));
        row("RunAfterOn", yes(p.runAfterOn));
    }
    if (r.payloadOffset >= 0) {
        o << "PayloadOffset " << r.payloadOffset << "\n";
        o << "Stored files: " << p.storedFiles.size() << "\n";
        for (size_t i = 0; i < p.storedFiles.size(); ++i) {
            const StoredFile& f = p.storedFiles[i];
            o << "  #" << i + 1 << " kind " << Kind(f.kind) << " name " << Quoted(f.name) << " param "
              << Quoted(f.param);
            if (f.outside) o << " size " << f.outsideSize << " (outside: copied from the installer's current folder)\n";
            else o << " size " << f.content.size() << "\n";
        }
        if (r.complete || !p.tree.empty()) o << "Folder tree: " << p.tree.size() << " entries\n";
        for (size_t i = 0; i < p.tree.size(); ++i) {
            const TreeEntry& e = p.tree[i];
            std::string path = TreePath(p.tree, i + 1);
            o << "  #" << i + 1 << " parent " << e.parent << " " << (e.kind == 0 ? "folder" : "file  ") << " "
              << Quoted(e.name);
            if (e.kind != 0) o << " " << e.data.size() << " bytes";
            o << " -> " << (path.empty() ? "(no valid path)" : Quoted(path)) << "\n";
        }
    }
    for (const std::string& w : r.warnings) o << "Warning: " << w << "\n";
    if (r.complete) {
        o << "Complete";
        if (r.trailingBytes > 0) o << "; " << r.trailingBytes << " bytes after the folder tree are ignored";
        o << "\n";
    } else {
        o << "NOT READABLE: " << r.problem << "\n";
    }
    return o.str();
}

}  // namespace pkgbuild
