/* Stand-in for setup.dll in the Wine benchmark: answers every call with 1
   and registers nothing, so the installer's own work is what is timed. */
#include <windows.h>

__declspec(dllexport) int __stdcall ViewDir(void* owner, const char* prompt, char* buffer) {
    (void)owner; (void)prompt; (void)buffer;
    return 1;
}
__declspec(dllexport) int __stdcall reg(const char* name, const char* folder, const char* main,
                                        int menu, int desktop, int uninstall) {
    (void)name; (void)folder; (void)main; (void)menu; (void)desktop; (void)uninstall;
    return 1;
}
__declspec(dllexport) int __stdcall regocx(const char* file, const char* param) {
    (void)file; (void)param;
    return 1;
}
