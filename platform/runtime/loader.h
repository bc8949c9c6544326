// boardtool-shared carries no platform code of its own: at start it finds
// the run-time library that holds the platform layer and takes the services
// from the library's one versioned entry point.
//
// Search order: the program's own folder, then the folder named by the
// string value RuntimeFolderValue under HKEY_CURRENT_USER\RuntimeFolderKey
// when that names a fully qualified folder (a drive and its root, or a
// share); a relative one is ignored, so nothing is ever looked up against
// the current directory or the search path.
// A library that is missing, does not load, lacks the entry point or
// refuses the program's interface version is passed over.
#pragma once

#include <optional>

#include "platform/entry.h"
#include "platform/text.h"

namespace platform {

inline constexpr const char* RuntimeLibraryName = "boardsuite-runtime.dll";
inline constexpr const char* RuntimeEntryName = "BoardSuiteRuntime";
inline constexpr const char* RuntimeFolderKey = "Software\\BoardSuite\\boardtool-shared";
inline constexpr const char* RuntimeFolderValue = "RuntimeFolder";
inline constexpr const char* RuntimeMissingText =
    "Not found the kernel library or the kernel library is invalid!";

// The entry point: the services for this interface version, or nullptr when
// the library cannot serve it. context is backend business (null on win32).
using RuntimeEntry = Services* (*)(int interfaceVersion, void* context);

// What the loader needs of the system before any platform layer is there.
class LoaderHost {
public:
    virtual ~LoaderHost() = default;
    virtual Text ownFolder() = 0;
    virtual std::optional<Text> registryFolder() = 0;
    virtual void* open(const Text& fullPath) = 0;  // nullptr when it does not load
    virtual void* symbol(void* library, const char* name) = 0;
    virtual void close(void* library) = 0;
    virtual void showError(const Text& text, const Text& caption) = 0;
};

struct LoadedRuntime {
    Services* services = nullptr;
    Text path;  // the library that was accepted
};

// Tries the candidates in order; services == nullptr when none was accepted.
LoadedRuntime LoadRuntime(LoaderHost& host, void* context);

// Loads the run time and runs the program on it. Without an acceptable run
// time: the error box, and exit code 1.
int RunOnRuntime(LoaderHost& host, ProgramMain programMain, void* context);

}  // namespace platform
