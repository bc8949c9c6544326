// Processes, clock, registry and profile files, shell and libraries.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

#if defined(_WIN32) && !defined(_WIN64)
#define PLATFORM_STDCALL __stdcall
#elif defined(_WIN32)
#define PLATFORM_STDCALL
#else
#define PLATFORM_STDCALL
#endif

namespace platform {

class Processes {
public:
    virtual ~Processes() = default;
    // The command-line arguments, the program's own path excluded. Blanks
    // separate arguments; double quotes group blanks and are dropped.
    virtual std::vector<Text> arguments() const = 0;
    // Starts a program from a command line with a normal, activated window,
    // without waiting for it; waits at most 1 s until it is ready for input.
    // currentDirectory empty: the caller's current directory.
    virtual bool start(const Text& commandLine, const Text& currentDirectory = Text()) = 0;
    // Ends the program at once with the exit code.
    [[noreturn]] virtual void exit(int code) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; only differences count.
    virtual int64_t milliseconds() const = 0;
    // The current date-time in whole seconds since 1970-01-01.
    virtual int64_t dateTimeSeconds() const = 0;
};

enum class Hive { CurrentUser, LocalMachine };

class Registry {
public:
    virtual ~Registry() = default;
    virtual std::optional<Text> readString(Hive hive, const Text& key, const Text& value) const = 0;
    // Creates the key when missing, then writes a REG_SZ value.
    virtual bool writeString(Hive hive, const Text& key, const Text& value, const Text& data) = 0;
    virtual bool writeDword(Hive hive, const Text& key, const Text& value, uint32_t data) = 0;
    virtual bool deleteKey(Hive hive, const Text& key) = 0;

    // Profile (.ini) files: one value at a time; a new section goes at the
    // end of the file.
    virtual bool writeProfileString(const Text& file, const Text& section, const Text& key,
                                    const Text& value) = 0;
    virtual std::optional<Text> readProfileString(const Text& file, const Text& section,
                                                  const Text& key) const = 0;
    // Keys of a section in file order.
    virtual std::vector<Text> profileKeys(const Text& file, const Text& section) const = 0;
};

// A value handed to or taken from an automation object.
struct Variant {
    enum class Type { Empty, Text, Integer } type = Type::Empty;
    Text text;
    int64_t integer = 0;
    static Variant Of(const Text& t) { Variant v; v.type = Type::Text; v.text = t; return v; }
    static Variant Of(int64_t i) { Variant v; v.type = Type::Integer; v.integer = i; return v; }
};

// An automation (IDispatch) object, such as "WScript.Shell".
class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // Calls a method that returns an object; nullptr on failure.
    virtual std::unique_ptr<AutomationObject> callForObject(const Text& method,
                                                            const std::vector<Variant>& args) = 0;
    virtual bool call(const Text& method, const std::vector<Variant>& args) = 0;
    virtual bool setProperty(const Text& property, const Variant& value) = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual std::unique_ptr<AutomationObject> createObject(const Text& progId) = 0;
    // The current user's desktop folder; empty when unknown.
    virtual Text desktopFolder() const = 0;
    // The Windows directory; empty when unknown.
    virtual Text windowsDirectory() const = 0;
};

class Library {
public:
    virtual ~Library() = default;
    // Address of an exported function, nullptr when missing.
    virtual void* symbol(const char* name) const = 0;
};

class Libraries {
public:
    virtual ~Libraries() = default;
    // Loads a library by its full path; nullptr when it cannot be loaded.
    virtual std::unique_ptr<Library> load(const Text& path) = 0;
};

}  // namespace platform
