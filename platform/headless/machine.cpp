#include "headless/machine.h"

#include <dirent.h>
#include <stdlib.h>
#include <strings.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace headless {

namespace fs = std::filesystem;
using platform::Hive;

Machine::Machine() {
    std::string tmpl = (fs::temp_directory_path() / "headless-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a sandbox folder");
    root_ = tmpl;
    makeFolders(runDirectory);
    makeFolders(currentDirectory);
    makeFolders(windowsDirectory);
    makeFolders(desktopFolder);
}

Machine::~Machine() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

Text Machine::absolute(const Text& path) const {
    Text p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    bool drive = p.size() >= 2 && p[1] == ':' &&
                 ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
    if (drive) return p;
    if (!p.empty() && p[0] == '\\') return currentDirectory.substr(0, 2) + p;
    Text base = currentDirectory;
    if (!platform::EndsWithCharacter(base, '\\')) base += '\\';
    return base + p;
}

namespace {
// Finds an existing entry of a folder, matching ASCII case as Windows does.
// A name the host cannot take (too long, say) is simply not found: the file
// operation on it then fails as it would on Windows, without an exception.
std::string MatchEntry(const std::string& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(folder + "/" + name, ec)) return name;
    if (DIR* d = opendir(folder.c_str())) {
        std::string found;
        while (dirent* e = readdir(d))
            if (strcasecmp(e->d_name, name.c_str()) == 0) {
                found = e->d_name;
                break;
            }
        closedir(d);
        if (!found.empty()) return found;
    }
    return name;
}
}  // namespace

std::string Machine::hostPath(const Text& windowsPath) const {
    Text abs = absolute(windowsPath);
    char drive = abs[0];
    if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
    std::vector<Text> parts = platform::SplitCharacters(abs.substr(2), '\\');
    std::vector<Text> clean;
    for (const Text& part : parts) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!clean.empty()) clean.pop_back();
            continue;
        }
        clean.push_back(part);
    }
    std::string host = root_ + "/" + std::string(1, drive);
    for (const Text& part : clean) host += "/" + MatchEntry(host, part);
    return host;
}

void Machine::makeFolders(const Text& path) { fs::create_directories(hostPath(path)); }

void Machine::writeFile(const Text& path, const std::string& bytes) {
    std::string host = hostPath(path);
    fs::create_directories(fs::path(host).parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> Machine::readFile(const Text& path) const {
    std::ifstream in(hostPath(path), std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(hostPath(path), ec)) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Machine::fileExists(const Text& path) const {
    std::error_code ec;
    return fs::is_regular_file(hostPath(path), ec);
}
bool Machine::folderExists(const Text& path) const {
    std::error_code ec;
    return fs::is_directory(hostPath(path), ec);
}

namespace {
std::pair<int, Text> KeyId(Hive hive, const Text& key) {
    return {static_cast<int>(hive), platform::LowerAscii(key)};
}
}  // namespace

void Machine::setString(Hive hive, const Text& key, const Text& value, const Text& data) {
    Key& k = registry[KeyId(hive, key)];
    if (k.name.empty()) k.name = key;
    RegistryValue v;
    v.text = data;
    k.values[platform::LowerAscii(value)] = {value, v};
}

std::optional<RegistryValue> Machine::value(Hive hive, const Text& key, const Text& value) const {
    auto k = registry.find(KeyId(hive, key));
    if (k == registry.end()) return std::nullopt;
    auto v = k->second.values.find(platform::LowerAscii(value));
    if (v == k->second.values.end()) return std::nullopt;
    return v->second.second;
}

bool Machine::keyExists(Hive hive, const Text& key) const {
    return registry.count(KeyId(hive, key)) > 0;
}

void Machine::registerLibrary(const Text& path, std::map<std::string, void*> symbols) {
    libraries[hostPath(path)] = std::move(symbols);
    if (!fileExists(path)) writeFile(path, "MZ library");
}

std::map<std::string, void*>* Machine::loadLibrary(const Text& path) {
    Text p = path;
    for (char& c : p)
        if (c == '/') c = '\\';
    std::vector<Text> places;
    if (platform::IsFullyQualified(p)) {
        places.push_back(p);
    } else {
        auto in = [&p](Text folder) {
            if (!platform::EndsWithCharacter(folder, '\\')) folder += '\\';
            return folder + p;
        };
        places = {in(runDirectory), in(windowsDirectory + "\\system32"), in(windowsDirectory),
                  in(currentDirectory)};
        for (const Text& folder : pathFolders) places.push_back(in(folder));
    }
    for (const Text& place : places) {
        loadAttempts.push_back(place);
        auto it = libraries.find(hostPath(place));
        if (it != libraries.end() && fileExists(place)) return &it->second;
    }
    return nullptr;
}

void Machine::attachSerial(int portNumber, SerialDevice* device) {
    serialDevices[portNumber] = device;
    ++serialPlugs[portNumber];
}
void Machine::detachSerial(int portNumber) {
    serialDevices.erase(portNumber);
    ++serialPlugs[portNumber];
}

std::string Machine::writtenTo(int portNumber) const {
    std::string all;
    auto it = serialWritten.find(portNumber);
    if (it != serialWritten.end())
        for (const WrittenBytes& w : it->second) all += w.bytes;
    return all;
}

void Machine::at(int64_t atMicros, std::function<void()> fn) {
    worldEvents.push_back({atMicros, nextSeq++, std::move(fn)});
}

}  // namespace headless
