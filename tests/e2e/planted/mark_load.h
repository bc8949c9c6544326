// The trace a planted library leaves: when a process loads it, it writes
// "<its own path>.loaded", so a scenario can tell whether it was loaded.
#pragma once
#include <windows.h>

inline void MarkLoad(HINSTANCE self) {
    wchar_t path[MAX_PATH + 16];
    DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    lstrcatW(path, L".loaded");
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
}
