// A stand-in setup.dll that leaves a trace: when any process loads it, it
// writes "<its own path>.loaded". The e2e scenarios plant it where the
// installer must not look (its current directory) and, as a check that the
// trace works, where it must (beside installer.exe).
#include <windows.h>

#include "mark_load.h"

#include <cstdint>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) MarkLoad(self);
    return TRUE;
}

// The three entry points the installer calls, doing nothing: no folder is
// chosen, nothing is registered.
__declspec(dllexport) int32_t __stdcall ViewDir(void*, const char*, char* buffer) {
    if (buffer) buffer[0] = '\0';
    return 0;
}
__declspec(dllexport) int32_t __stdcall reg(const char*, const char*, const char*, int32_t, int32_t,
                                            int32_t) {
    return 0;
}
__declspec(dllexport) int32_t __stdcall regocx(const char*, const char*) { return 0; }

}  // extern "C"
