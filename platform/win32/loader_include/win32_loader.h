// boardtool-shared's entry on Windows.
#pragma once

#include "platform/entry.h"

namespace win32 {

// Loads boardsuite-runtime.dll (own folder, then the registry folder) and
// runs the program on its services; the error box and exit code 1 without.
int RunOnRuntimeLibrary(platform::ProgramMain programMain);

}  // namespace win32

#define PLATFORM_SHARED_PROGRAM(fn)                                                        \
    extern "C" int __stdcall WinMain(struct HINSTANCE__*, struct HINSTANCE__*, char*, int) { \
        return ::win32::RunOnRuntimeLibrary(fn);                                          \
    }
