// A stand-in setup.dll that leaves a trace: when any process loads it, it
// writes "<its own path>.loaded". The e2e scenarios plant it where the
// installer must not look (its current directory) and, as a check that the
// trace works, where it must (beside installer.exe).
#include <windows.h>

#include <cstdint>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 16];
    DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return TRUE;
    lstrcatW(path, L".loaded");
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
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
