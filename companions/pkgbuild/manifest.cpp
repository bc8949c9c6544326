// Turns a manifest into a package description, line by line.
#include "manifest.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "bitmap.h"
#include "manifest_values.h"

namespace pkgbuild {

namespace {

namespace fs = std::filesystem;

// The uninstall marker entry's last path part: a space, 卸载文件, a space.
const std::string UninstallMarker = " 卸载文件 ";

std::string LastLocalPart(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

class Parser {
public:
    Parser(fs::path base, std::string name) : base_(std::move(base)), name_(std::move(name)) {}

    ManifestResult run(const std::string& text) {
        std::istringstream in(text);
        std::string raw;
        while (std::getline(in, raw)) {
            ++line_;
            try {
                parseLine(raw);
            } catch (const ValueError& e) {
                error(e.message);
            }
        }
        finish();
        return std::move(out_);
    }

private:
    void error(const std::string& m) { out_.errors.push_back(name_ + ":" + std::to_string(line_) + ": " + m); }
    void warn(const std::string& m) { out_.warnings.push_back(name_ + ":" + std::to_string(line_) + ": " + m); }

    void parseLine(const std::string& raw) {
        std::string t = Trim(raw);
        if (t.empty() || t[0] == '#' || t[0] == ';') return;
        if (t[0] == '[') {
            if (t.back() != ']') throw ValueError{"a section line is [name]"};
            section_ = Lower(Trim(t.substr(1, t.size() - 2)));
            if (section_ != "package" && section_ != "menu" && section_ != "files" && section_ != "tree") {
                std::string s = section_;
                section_ = "?";
                throw ValueError{"unknown section [" + s + "] (known: [package] [menu] [files] [tree])"};
            }
            return;
        }
        size_t eq = t.find('=');
        if (eq == std::string::npos) throw ValueError{"expected key = value, found \"" + t + "\""};
        std::string key = Lower(Trim(t.substr(0, eq)));
        std::string value = t.substr(eq + 1);
        if (section_.empty()) throw ValueError{"\"" + key + "\" stands before the first section"};
        if (section_ == "?") return;  // reported once at the section line
        if (section_ == "package") packageLine(key, value);
        if (section_ == "menu") menuLine(key, value);
        if (section_ == "files") filesLine(key, value);
        if (section_ == "tree") treeLine(key, value);
    }

    // --- [package] ----------------------------------------------------------

    void once(const std::string& field) {
        if (!seen_.insert(field).second) throw ValueError{field + " is given twice"};
    }

    void text(const std::string& field, std::string& into, const std::string& bytes) {
        into = bytes;
        if (bytes.find('\0') != std::string::npos)
            warn(field + " holds a zero byte; the installer shows only the bytes before it");
    }

    void packageLine(const std::string& key, const std::string& value) {
        Package& p = out_.package;
        static const std::map<std::string, bool Package::*> switches = {
            {"gradienton", &Package::gradientOn},         {"backpictureon", &Package::backPictureOn},
            {"backcoloron", &Package::backColorOn},       {"captionon", &Package::captionOn},
            {"wizardonly", &Package::wizardOnly},         {"visualstyleon", &Package::visualStyleOn},
            {"programshortcuton", &Package::programShortcutOn},
            {"underprogramfiles", &Package::underProgramFiles},
            {"uninstalleron", &Package::uninstallerOn},   {"menushortcutson", &Package::menuShortcutsOn},
            {"desktopshortcuton", &Package::desktopShortcutOn}, {"runafteron", &Package::runAfterOn},
        };
        static const std::map<std::string, int32_t Package::*> numbers = {
            {"gradientstyle", &Package::gradientStyle},
            {"promoplacement", &Package::promoPlacement},
            {"visualstyle", &Package::visualStyle},
        };
        static const std::map<std::string, int32_t Package::*> colors = {
            {"gradientcolor1", &Package::gradientColor1},
            {"gradientcolor2", &Package::gradientColor2},
            {"gradientcolor3", &Package::gradientColor3},
            {"backcolor", &Package::backColor},
        };
        static const std::map<std::string, std::string Package::*> pictures = {
            {"backpicture", &Package::backPicture}, {"promoimage", &Package::promoImage},
            {"sideimage", &Package::sideImage},     {"spareimage", &Package::spareImage},
        };
        if (auto s = switches.find(key); s != switches.end()) {
            once(key);
            p.*(s->second) = ReadSwitch(value);
            if (key == "programshortcuton" && p.programShortcutOn) programShortcutLine_ = line_;
        } else if (auto n = numbers.find(key); n != numbers.end()) {
            once(key);
            p.*(n->second) = ReadInt(value);
        } else if (auto c = colors.find(key); c != colors.end()) {
            once(key);
            p.*(c->second) = ReadColor(value);
        } else if (auto pic = pictures.find(key); pic != pictures.end()) {
            once(key);
            p.*(pic->second) = picture(value);
        } else if (key == "formatversion") {
            once(key);
            p.formatVersion = ReadInt(value);
            if (p.formatVersion > NewestFormatVersion)
                throw ValueError{"FormatVersion " + std::to_string(p.formatVersion) +
                                 " is above 4; the installer refuses such a package"};
        } else if (key == "productname") {
            once(key);
            text("ProductName", p.productName, Unquote(value));
            if (Trim(p.productName).empty()) throw ValueError{"ProductName is empty"};
        } else if (key == "defaultfolder") {
            once(key);
            text("DefaultFolder", p.defaultFolder, Unquote(value));
        } else if (key == "readmetext" || key == "readmefile") {
            once("the readme (ReadmeText or ReadmeFile)");
            text("the readme", p.readmeText, key == "readmetext" ? Unquote(value) : source(Unquote(value)));
        } else if (key == "licensetext" || key == "licensefile") {
            once("the licence (LicenseText or LicenseFile)");
            text("the licence", p.licenseText, key == "licensetext" ? Unquote(value) : source(Unquote(value)));
        } else {
            throw ValueError{"unknown key \"" + key + "\" in [package]"};
        }
    }

    // A picture: empty or "none", "gradient W H #RRGGBB #RRGGBB", or a file.
    std::string picture(const std::string& value) {
        std::string v = Unquote(value);
        if (v.empty() || Lower(v) == "none") return "";
        std::istringstream words(v);
        std::string first;
        words >> first;
        if (Lower(first) != "gradient") return source(v);
        std::string w, h, top, bottom, extra;
        words >> w >> h >> top >> bottom;
        if (bottom.empty() || (words >> extra))
            throw ValueError{"a generated picture is: gradient WIDTH HEIGHT #RRGGBB #RRGGBB"};
        int32_t width = ReadInt(w), height = ReadInt(h);
        if (width < 1 || width > 4096 || height < 1 || height > 4096)
            throw ValueError{"a generated picture is 1 to 4096 pixels wide and high"};
        auto rgb = [](const std::string& c) {
            if (c.empty() || c[0] != '#') throw ValueError{"a colour is #RRGGBB, found \"" + c + "\""};
            int32_t v = ReadColor(c);
            return Rgb{static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>((v >> 8) & 0xFF),
                       static_cast<uint8_t>((v >> 16) & 0xFF)};
        };
        return GradientBitmap(width, height, rgb(top), rgb(bottom));
    }

    fs::path local(const std::string& path) const {
        fs::path p(path);
        return p.is_absolute() ? p : base_ / p;
    }

    std::string source(const std::string& path) {
        if (path.empty()) throw ValueError{"a source file is needed"};
        return readLocal(local(path), path);
    }

    static std::string readLocal(const fs::path& p, const std::string& path) {
        std::error_code ec;
        if (fs::is_directory(p, ec)) throw ValueError{"\"" + path + "\" is a folder, not a file"};
        std::ifstream in(p, std::ios::binary);
        if (!in) throw ValueError{"cannot read \"" + path + "\" (looked for " + p.string() + ")"};
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (in.bad()) throw ValueError{"cannot read \"" + path + "\""};
        return bytes.str();
    }

    // --- [menu] -------------------------------------------------------------

    void menuLine(const std::string& key, const std::string& value) {
        std::vector<std::string> f = SplitFields(value);
        MenuEntry e;
        if (key == "folder") {
            if (f.size() > 2) throw ValueError{"a menu folder is: folder = LINK [| TARGET]"};
            e.link = JoinPackagePath(PackagePathParts(f[0]));
            e.target = f.size() > 1 ? JoinPackagePath(PackagePathParts(f[1])) : e.link;
            e.kind = 0;
        } else if (key == "shortcut") {
            if (f.size() != 2) throw ValueError{"a menu shortcut is: shortcut = LINK | TARGET"};
            e.link = JoinPackagePath(PackagePathParts(f[0]));
            e.target = JoinPackagePath(PackagePathParts(f[1]));
            e.kind = 1;
        } else if (key == "uninstall-link") {
            if (f.size() != 1) throw ValueError{"an uninstall link is: uninstall-link = FOLDER"};
            e.link = JoinPackagePath(PackagePathParts(f[0])) + "\\" + UninstallMarker;
            e.target = "uninstall.exe";
            e.kind = 1;
        } else if (key == "entry") {
            if (f.size() != 3) throw ValueError{"a raw menu entry is: entry = LINK | TARGET | KIND"};
            e.link = f[0];
            e.target = f[1];
            e.kind = ReadInt(f[2]);
        } else {
            throw ValueError{"unknown menu line \"" + key + "\" (known: folder, shortcut, uninstall-link, entry)"};
        }
        if (e.link.find('\0') != std::string::npos || e.target.find('\0') != std::string::npos)
            throw ValueError{"a menu entry cannot hold a zero byte"};
        if (firstMenuLine_ == 0) firstMenuLine_ = line_;
        out_.package.menuEntries.push_back(e);
    }

    // --- [files] ------------------------------------------------------------

    void filesLine(const std::string& key, const std::string& value) {
        std::istringstream words(key);
        std::string word;
        std::vector<std::string> w;
        while (words >> word) w.push_back(word);
        StoredFile file;
        size_t at = 0;
        if (at < w.size() && w[at] == "outside") {
            file.outside = true;
            ++at;
        }
        if (at < w.size() && w[at] == "main") {
            file.kind = KindMainProgram;
            ++at;
        } else if (at < w.size() && w[at] == "component") {
            file.kind = KindComponent;
            ++at;
        } else if (at < w.size() && w[at] == "file") {
            file.kind = 0;
            ++at;
        } else if (at + 1 < w.size() && w[at] == "kind") {
            file.kind = ReadInt(w[at + 1]);
            at += 2;
        } else {
            at = w.size() + 1;
        }
        if (at != w.size())
            throw ValueError{"unknown file line \"" + key +
                             "\" (known: [outside] main, component, file, kind N)"};

        std::vector<std::string> f = SplitFields(value);
        if (file.outside) {
            if (f.size() > 2) throw ValueError{"an outside file is: outside ... = NAME [| PARAM]"};
            file.name = JoinPackagePath(PackagePathParts(f[0]));
            if (f.size() > 1) file.param = f[1];
        } else {
            if (f.size() > 3) throw ValueError{"a stored file is: ... = SOURCE [| NAME [| PARAM]]"};
            std::string name = f.size() > 1 && !f[1].empty() ? f[1] : LastLocalPart(f[0]);
            file.content = source(f[0]);
            file.name = JoinPackagePath(PackagePathParts(name));
            if (f.size() > 2) file.param = f[2];
        }
        if (file.kind == KindComponent && file.param.empty())
            warn("component \"" + file.name + "\" has no parameter; it is copied but not registered");
        out_.package.storedFiles.push_back(std::move(file));
    }

    // --- [tree] -------------------------------------------------------------

    void treeLine(const std::string& key, const std::string& value) {
        std::vector<std::string> f = SplitFields(value);
        if (key == "folder") {
            if (f.size() != 1) throw ValueError{"a tree folder is: folder = PATH"};
            treeFolder(PackagePathParts(f[0]));
        } else if (key == "file") {
            if (f.size() > 2) throw ValueError{"a tree file is: file = SOURCE [| PATH]"};
            std::string path = f.size() > 1 && !f[1].empty() ? f[1] : LastLocalPart(f[0]);
            treeFile(PackagePathParts(path), source(f[0]));
        } else if (key == "pack") {
            if (f.size() > 2) throw ValueError{"a packed folder is: pack = SOURCE [| PATH]"};
            fs::path dir = local(f[0]);
            std::error_code ec;
            if (!fs::is_directory(dir, ec)) throw ValueError{"\"" + f[0] + "\" is not a folder"};
            std::string path = f.size() > 1 && !f[1].empty() ? f[1] : dir.lexically_normal().filename().string();
            if (path.empty()) path = dir.lexically_normal().parent_path().filename().string();
            std::vector<std::string> parts;
            if (path != ".") parts = PackagePathParts(path);
            if (!parts.empty()) treeFolder(parts);
            pack(dir, parts);
        } else {
            throw ValueError{"unknown tree line \"" + key + "\" (known: folder, file, pack)"};
        }
    }

    // Index of the folder entry at parts, made (with its parents) when missing.
    int32_t treeFolder(const std::vector<std::string>& parts) {
        int32_t parent = 0;
        std::vector<std::string> prefix;
        for (const std::string& part : parts) {
            prefix.push_back(part);
            std::string key = Lower(JoinPackagePath(prefix));
            if (treeFiles_.count(key)) throw ValueError{"\"" + JoinPackagePath(prefix) + "\" is a file in the tree"};
            auto it = treeFolders_.find(key);
            if (it == treeFolders_.end()) {
                out_.package.tree.push_back(TreeEntry{parent, 0, part, ""});
                it = treeFolders_.emplace(key, static_cast<int32_t>(out_.package.tree.size())).first;
            }
            parent = it->second;
        }
        return parent;
    }

    void treeFile(const std::vector<std::string>& parts, std::string data) {
        std::string key = Lower(JoinPackagePath(parts));
        if (treeFiles_.count(key) || treeFolders_.count(key))
            throw ValueError{"\"" + JoinPackagePath(parts) + "\" is in the tree already"};
        std::vector<std::string> folder(parts.begin(), parts.end() - 1);
        int32_t parent = treeFolder(folder);
        out_.package.tree.push_back(TreeEntry{parent, 1, parts.back(), std::move(data)});
        treeFiles_.insert(key);
    }

    // Packs a local folder below the tree folder at parts, names sorted.
    void pack(const fs::path& dir, const std::vector<std::string>& parts) {
        std::vector<fs::path> entries;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir, ec)) entries.push_back(e.path());
        if (ec) throw ValueError{"cannot list \"" + dir.string() + "\""};
        std::sort(entries.begin(), entries.end());
        for (const fs::path& e : entries) {
            std::vector<std::string> child = parts;
            child.push_back(e.filename().string());
            if (fs::is_directory(e, ec)) {
                treeFolder(child);
                pack(e, child);
            } else if (fs::is_regular_file(e, ec)) {
                treeFile(child, readLocal(e, e.string()));
            } else {
                throw ValueError{"\"" + e.string() + "\" is neither a file nor a folder"};
            }
        }
    }

    // --- checks that need the whole manifest ---------------------------------

    void finish() {
        const Package& p = out_.package;
        if (!seen_.count("productname")) {
            out_.errors.push_back(name_ + ": ProductName is missing from [package]");
        }
        if (p.formatVersion < 3 && firstMenuLine_ > 0) {
            line_ = firstMenuLine_;
            error("menu entries need FormatVersion 3 or later (FormatVersion is " +
                  std::to_string(p.formatVersion) + ")");
        }
        if (p.formatVersion < 4 && programShortcutLine_ > 0) {
            line_ = programShortcutLine_;
            error("ProgramShortcutOn needs FormatVersion 4 (FormatVersion is " + std::to_string(p.formatVersion) +
                  ")");
        }
        std::string problem = PackageProblem(p);
        if (!problem.empty()) out_.errors.push_back(name_ + ": " + problem);
    }

    fs::path base_;
    std::string name_;
    ManifestResult out_;
    int line_ = 0;
    std::string section_;
    std::set<std::string> seen_;
    int firstMenuLine_ = 0;
    int programShortcutLine_ = 0;
    std::map<std::string, int32_t> treeFolders_;  // lower-case path -> entry number
    std::set<std::string> treeFiles_;
};

}  // namespace

ManifestResult ParseManifest(const std::string& text, const std::filesystem::path& baseFolder,
                             const std::string& displayName) {
    return Parser(baseFolder, displayName).run(text);
}

ManifestResult ParseManifestFile(const std::filesystem::path& manifest) {
    std::ifstream in(manifest, std::ios::binary);
    if (!in) {
        ManifestResult r;
        r.errors.push_back(manifest.string() + ": cannot read the manifest");
        return r;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return ParseManifest(bytes.str(), manifest.parent_path(), manifest.string());
}

}  // namespace pkgbuild
