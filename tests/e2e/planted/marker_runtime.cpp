// A stand-in boardsuite-runtime.dll that leaves a trace and refuses to serve:
// when a process loads it, it writes "<its own path>.loaded"; its entry point
// answers every interface version with no services. The e2e scenarios plant
// it where boardtool-shared must not look (the current directory, a folder on
// PATH) and where it must look and pass over it (its own folder).
#include <windows.h>

#include "mark_load.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) MarkLoad(self);
    return TRUE;
}

__declspec(dllexport) void* BoardSuiteRuntime(int, void*) { return nullptr; }

}  // extern "C"
