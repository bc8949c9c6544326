// Processes, clock, registry and profile files, shell objects, libraries.
#include <algorithm>

#include "internal.h"

namespace headless {

using namespace platform;

namespace {

class HeadlessProcesses : public Processes {
public:
    explicit HeadlessProcesses(Machine& m) : m_(m) {}
    std::vector<Text> arguments() const override { return m_.arguments; }
    bool start(const Text& commandLine, const Text& currentDirectory) override {
        StartedProcess p{commandLine, currentDirectory.empty() ? m_.currentDirectory
                                                               : m_.absolute(currentDirectory)};
        m_.started.push_back(p);
        if (m_.startRule) return m_.startRule(p);
        if (LowerAscii(commandLine).rfind("explorer.exe", 0) == 0) return true;
        // Like the system: the whole line, a quoted first part, or the part
        // up to the first blank names the program file.
        Text saved = m_.currentDirectory;
        m_.currentDirectory = p.currentDirectory;
        bool found = m_.fileExists(commandLine);
        if (!found && !commandLine.empty() && commandLine[0] == '"') {
            size_t end = commandLine.find('"', 1);
            found = end != Text::npos && m_.fileExists(commandLine.substr(1, end - 1));
        }
        if (!found) found = m_.fileExists(commandLine.substr(0, commandLine.find(' ')));
        m_.currentDirectory = saved;
        return found;
    }
    [[noreturn]] void exit(int code) override { throw ProgramExit{code}; }

private:
    Machine& m_;
};

class HeadlessClock : public Clock {
public:
    explicit HeadlessClock(Machine& m) : m_(m) {}
    int64_t milliseconds() const override { return m_.nowMillis(); }
    int64_t dateTimeSeconds() const override { return m_.epochSeconds + m_.nowMicros / 1'000'000; }

private:
    Machine& m_;
};

// Profile files in the form the system writes them: "[section]" lines
// followed by "key=value" lines, CR LF line ends.
struct Profile {
    std::vector<Text> lines;

    static bool Named(const Text& line, const Text& section) {
        Text t = TrimBlanks(line);
        return t.size() >= 2 && t.front() == '[' && t.back() == ']' &&
               LowerAscii(t.substr(1, t.size() - 2)) == LowerAscii(section);
    }
    static bool IsSection(const Text& line) {
        Text t = TrimBlanks(line);
        return !t.empty() && t.front() == '[';
    }
    // [first, end) line range of a section's body; first = npos if missing.
    std::pair<size_t, size_t> body(const Text& section) const {
        for (size_t i = 0; i < lines.size(); ++i)
            if (Named(lines[i], section)) {
                size_t end = i + 1;
                while (end < lines.size() && !IsSection(lines[end])) ++end;
                return {i + 1, end};
            }
        return {Text::npos, Text::npos};
    }
    static bool KeyOf(const Text& line, Text& key, Text& value) {
        size_t eq = line.find('=');
        if (eq == Text::npos) return false;
        key = TrimBlanks(line.substr(0, eq));
        value = line.substr(eq + 1);
        return true;
    }
};

class HeadlessRegistry : public Registry {
public:
    HeadlessRegistry(Machine& m, Files& f) : m_(m), files_(f) {}

    std::optional<Text> readString(Hive hive, const Text& key, const Text& value) const override {
        auto v = m_.value(hive, key, value);
        if (!v || v->dword) return std::nullopt;
        return v->text;
    }
    bool writeString(Hive hive, const Text& key, const Text& value, const Text& data) override {
        if (hive == Hive::LocalMachine && m_.denyLocalMachineWrites) return false;
        m_.setString(hive, key, value, data);
        return true;
    }
    bool writeDword(Hive hive, const Text& key, const Text& value, uint32_t data) override {
        if (hive == Hive::LocalMachine && m_.denyLocalMachineWrites) return false;
        m_.setString(hive, key, value, "");
        auto& k = m_.registry[{static_cast<int>(hive), LowerAscii(key)}];
        auto& v = k.values[LowerAscii(value)].second;
        v.dword = true;
        v.number = data;
        return true;
    }
    bool deleteKey(Hive hive, const Text& key) override {
        if (hive == Hive::LocalMachine && m_.denyLocalMachineWrites) return false;
        Text lower = LowerAscii(key);
        bool any = false;
        for (auto it = m_.registry.begin(); it != m_.registry.end();) {
            const Text& k = it->first.second;
            bool under = it->first.first == static_cast<int>(hive) &&
                         (k == lower || k.rfind(lower + "\\", 0) == 0);
            if (under) {
                it = m_.registry.erase(it);
                any = true;
            } else {
                ++it;
            }
        }
        return any;
    }

    bool writeProfileString(const Text& file, const Text& section, const Text& key,
                            const Text& value) override {
        Profile p = load(file);
        auto [first, end] = p.body(section);
        Text line = key + "=" + value;
        if (first == Text::npos) {
            p.lines.push_back("[" + section + "]");
            p.lines.push_back(line);
        } else {
            bool replaced = false;
            for (size_t i = first; i < end && !replaced; ++i) {
                Text k, v;
                if (Profile::KeyOf(p.lines[i], k, v) && LowerAscii(k) == LowerAscii(key)) {
                    p.lines[i] = line;
                    replaced = true;
                }
            }
            if (!replaced) {
                size_t at = end;
                while (at > first && TrimBlanks(p.lines[at - 1]).empty()) --at;
                p.lines.insert(p.lines.begin() + static_cast<long>(at), line);
            }
        }
        auto f = files_.create(file);
        if (!f) return false;
        std::string bytes;
        for (const Text& l : p.lines) bytes += l + "\r\n";
        return f->write(bytes.data(), bytes.size());
    }

    std::optional<Text> readProfileString(const Text& file, const Text& section,
                                          const Text& key) const override {
        Profile p = load(file);
        auto [first, end] = p.body(section);
        if (first == Text::npos) return std::nullopt;
        for (size_t i = first; i < end; ++i) {
            Text k, v;
            if (Profile::KeyOf(p.lines[i], k, v) && LowerAscii(k) == LowerAscii(key)) return v;
        }
        return std::nullopt;
    }

    std::vector<Text> profileKeys(const Text& file, const Text& section) const override {
        Profile p = load(file);
        std::vector<Text> keys;
        auto [first, end] = p.body(section);
        if (first == Text::npos) return keys;
        for (size_t i = first; i < end; ++i) {
            Text k, v;
            if (Profile::KeyOf(p.lines[i], k, v)) keys.push_back(k);
        }
        return keys;
    }

private:
    Profile load(const Text& file) const {
        Profile p;
        if (auto bytes = ReadWholeFile(files_, file)) p.lines = SplitLines(*bytes);
        return p;
    }
    Machine& m_;
    Files& files_;
};

class HShortcut : public AutomationObject {
public:
    HShortcut(Machine& m, Files& f, Text link) : m_(m), files_(f), link_(std::move(link)) {}
    std::unique_ptr<AutomationObject> callForObject(const Text&, const std::vector<Variant>&) override {
        return nullptr;
    }
    bool call(const Text& method, const std::vector<Variant>&) override {
        if (LowerAscii(method) != "save") return false;
        auto f = files_.create(link_);
        if (!f) return false;
        std::string body = "[Shortcut]\r\nTarget=" + target_ + "\r\n";
        if (!f->write(body.data(), body.size())) return false;
        m_.shortcuts.push_back({m_.absolute(link_), target_});
        return true;
    }
    bool setProperty(const Text& property, const Variant& value) override {
        if (LowerAscii(property) == "targetpath") target_ = value.text;
        return true;
    }

private:
    Machine& m_;
    Files& files_;
    Text link_;
    Text target_;
};

class HScriptShell : public AutomationObject {
public:
    HScriptShell(Machine& m, Files& f) : m_(m), files_(f) {}
    std::unique_ptr<AutomationObject> callForObject(const Text& method,
                                                    const std::vector<Variant>& args) override {
        if (LowerAscii(method) != "createshortcut" || args.size() != 1) return nullptr;
        return std::make_unique<HShortcut>(m_, files_, args[0].text);
    }
    bool call(const Text&, const std::vector<Variant>&) override { return false; }
    bool setProperty(const Text&, const Variant&) override { return false; }

private:
    Machine& m_;
    Files& files_;
};

class HeadlessShell : public Shell {
public:
    HeadlessShell(Machine& m, Files& f) : m_(m), files_(f) {}
    std::unique_ptr<AutomationObject> createObject(const Text& progId) override {
        if (LowerAscii(progId) != "wscript.shell") return nullptr;
        return std::make_unique<HScriptShell>(m_, files_);
    }
    Text desktopFolder() const override { return m_.desktopFolder; }
    Text windowsDirectory() const override { return m_.windowsDirectory; }

private:
    Machine& m_;
    Files& files_;
};

class HLibrary : public Library {
public:
    explicit HLibrary(const std::map<std::string, void*>& s) : symbols_(s) {}
    void* symbol(const char* name) const override {
        auto it = symbols_.find(name);
        return it == symbols_.end() ? nullptr : it->second;
    }

private:
    const std::map<std::string, void*>& symbols_;
};

class HeadlessLibraries : public Libraries {
public:
    explicit HeadlessLibraries(Machine& m) : m_(m) {}
    std::unique_ptr<Library> load(const Text& path) override {
        auto* symbols = m_.loadLibrary(path);
        if (!symbols) return nullptr;
        return std::make_unique<HLibrary>(*symbols);
    }

private:
    Machine& m_;
};

}  // namespace

std::unique_ptr<Processes> MakeProcesses(Machine& m) { return std::make_unique<HeadlessProcesses>(m); }
std::unique_ptr<Clock> MakeClock(Machine& m) { return std::make_unique<HeadlessClock>(m); }
std::unique_ptr<Registry> MakeRegistry(Machine& m, Files& f) {
    return std::make_unique<HeadlessRegistry>(m, f);
}
std::unique_ptr<Shell> MakeShell(Machine& m, Files& f) { return std::make_unique<HeadlessShell>(m, f); }
std::unique_ptr<Libraries> MakeLibraries(Machine& m) { return std::make_unique<HeadlessLibraries>(m); }

}  // namespace headless
