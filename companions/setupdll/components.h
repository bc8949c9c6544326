// Registering and unregistering a component: load the file and call its
// self-registration entry (DllRegisterServer or DllUnregisterServer).
#pragma once

#include "platform/system.h"
#include "platform/text.h"

namespace setupdll {

enum class ServerCall {
    Done,       // the entry ran and reported success
    NotLoaded,  // the file is not a library that loads
    NoEntry,    // the library has no such entry
    Failed,     // the entry reported a failure
};

// The entries' type: no arguments, an HRESULT with the Windows calling
// convention; negative values are failures.
using ServerEntry = int32_t(PLATFORM_STDCALL*)();

ServerCall CallServerEntry(platform::Libraries& libraries, const platform::Text& path, const char* entry);

}  // namespace setupdll
