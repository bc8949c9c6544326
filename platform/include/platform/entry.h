// A program's entry: the backend makes the services and hands them to the
// program's main function. Each program's executable has one line:
//
//     PLATFORM_PROGRAM(BoardToolMain)
#pragma once

#include "platform/services.h"

namespace platform {

using ProgramMain = int (*)(Services&);

// Implemented by each backend: builds the services, runs the program and
// returns its exit code.
int RunProgram(ProgramMain programMain);

}  // namespace platform

#if defined(_WIN32)
#define PLATFORM_PROGRAM(fn)                                                              \
    extern "C" int __stdcall WinMain(struct HINSTANCE__*, struct HINSTANCE__*, char*, int) { \
        return ::platform::RunProgram(fn);                                               \
    }
#else
#define PLATFORM_PROGRAM(fn) \
    int main() { return ::platform::RunProgram(fn); }
#endif
