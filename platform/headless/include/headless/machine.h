// The world a headless program runs in: a sandbox disk with drive letters
// mapped to folders, an in-memory registry, serial devices attached by port
// number, recorded process starts and shortcuts, loadable in-memory
// libraries, and a virtual clock that moves only when a test moves it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace headless {

using platform::Text;

class SerialLink;

// The far end of a serial line, e.g. the virtual weighing board.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    // The PC opened the port at this rate; false refuses (port in use).
    virtual bool opened(SerialLink& link, int baud) { (void)link; (void)baud; return true; }
    virtual void closed() {}
    // The PC wrote these bytes at the given rate.
    virtual void written(SerialLink& link, const std::string& bytes, int baud) = 0;
};

// What a device can do with the line while the PC holds the port open.
class SerialLink {
public:
    virtual ~SerialLink() = default;
    // Sends bytes to the PC, starting after delayMicros; each byte takes
    // the time of ten bits at the port's rate.
    virtual void toPc(const std::string& bytes, int64_t delayMicros = 0) = 0;
    virtual int baud() const = 0;
    virtual int64_t nowMicros() const = 0;
};

struct StartedProcess {
    Text commandLine;
    Text currentDirectory;
};

struct ShortcutRecord {
    Text link;
    Text target;
};

struct RegistryValue {
    bool dword = false;
    Text text;
    uint32_t number = 0;
};

struct WrittenBytes {
    int64_t atMicros;
    int baud;
    std::string bytes;
};

class Machine {
public:
    Machine();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // --- disk -----------------------------------------------------------
    // The host path of a Windows path ("C:\a\b" -> <root>/C/a/b). Relative
    // paths are taken from currentDirectory.
    std::string hostPath(const Text& windowsPath) const;
    Text absolute(const Text& windowsPath) const;
    void writeFile(const Text& path, const std::string& bytes);  // makes folders
    std::optional<std::string> readFile(const Text& path) const;
    bool fileExists(const Text& path) const;
    bool folderExists(const Text& path) const;
    void makeFolders(const Text& path);
    const std::string& root() const { return root_; }

    Text runDirectory = "C:\\Tool";
    Text programFile = "program.exe";  // name of the program file in runDirectory
    Text currentDirectory = "C:\\Work";
    std::vector<Text> arguments;

    // Faults: writes to a path for which this answers true fail; creating
    // a file for which failCreate answers true fails.
    std::function<bool(const Text& path)> failWrite;
    std::function<bool(const Text& path)> failCreate;
    // Paths held open by another program (no sharing).
    std::set<std::string> lockedHostPaths;
    void lock(const Text& path) { lockedHostPaths.insert(hostPath(path)); }

    // --- registry -------------------------------------------------------
    struct Key {
        Text name;  // as first written
        std::map<Text, std::pair<Text, RegistryValue>> values;  // lower name -> (name, value)
    };
    std::map<std::pair<int, Text>, Key> registry;  // (hive, lower key)
    void setString(platform::Hive hive, const Text& key, const Text& value, const Text& data);
    std::optional<RegistryValue> value(platform::Hive hive, const Text& key, const Text& value) const;
    bool keyExists(platform::Hive hive, const Text& key) const;
    bool denyLocalMachineWrites = false;

    // --- processes, shell, libraries ----------------------------------------
    std::vector<StartedProcess> started;
    // Decides whether a start succeeds; by default the program file must
    // exist in the sandbox (explorer.exe always starts).
    std::function<bool(const StartedProcess&)> startRule;
    std::vector<ShortcutRecord> shortcuts;
    Text desktopFolder = "C:\\Users\\user\\Desktop";
    Text windowsDirectory = "C:\\WINDOWS";
    platform::Size screen{1024, 768};
    // An in-memory library that loads from this path.
    void registerLibrary(const Text& path, std::map<std::string, void*> symbols);
    std::map<std::string, std::map<std::string, void*>> libraries;  // host path -> symbols
    std::vector<Text> loadAttempts;
    // The folders of the PATH variable.
    std::vector<Text> pathFolders;
    // Loads a library as a plain LoadLibrary would: a fully qualified path
    // (drive and root, or a UNC path) is the one place tried; any other name
    // is looked for in the program's folder, the system folder, the Windows
    // folder, the current directory and then every PATH folder, in that
    // order. Every place tried goes into loadAttempts; the symbols of the
    // first library found, or nullptr.
    std::map<std::string, void*>* loadLibrary(const Text& path);

    // --- serial -----------------------------------------------------------
    // A port held open while its device is detached is dead from then on,
    // even when a device is attached again: it sends and receives nothing
    // until the program closes and opens it again, as with a USB adapter
    // pulled and plugged back in.
    void attachSerial(int portNumber, SerialDevice* device);
    void detachSerial(int portNumber);
    std::map<int, SerialDevice*> serialDevices;
    std::map<int, uint64_t> serialPlugs;  // attaches and detaches of each port number
    // Everything the PC wrote to a port, with the time it was written.
    std::map<int, std::vector<WrittenBytes>> serialWritten;
    std::string writtenTo(int portNumber) const;  // all bytes, concatenated

    // --- clock ------------------------------------------------------------
    int64_t nowMicros = 0;
    int64_t epochSeconds = 1796983200;  // 2026-12-11 09:20:00 UTC
    int64_t nowMillis() const { return nowMicros / 1000; }
    // Runs fn on the program's thread when the clock reaches atMicros
    // (world events: a board that sends unasked, a cable pulled).
    void at(int64_t atMicros, std::function<void()> fn);
    struct WorldEvent {
        int64_t at;
        uint64_t seq;
        std::function<void()> fn;
    };
    std::vector<WorldEvent> worldEvents;
    uint64_t nextSeq = 0;

private:
    std::string root_;
};

}  // namespace headless
