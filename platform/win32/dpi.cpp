// The display's scale. The programs declare themselves DPI aware, so the
// backend turns the forms' units (pixels at 96 DPI) into screen pixels and
// back; the programs only ever see form units.

#include "internal.h"

namespace win32 {

namespace {

int ReadDpi() {
    // GetDpiForSystem exists from Windows 10 on; older systems answer
    // through the screen's device context.
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
        using ForSystem = UINT(WINAPI*)();
        auto forSystem = reinterpret_cast<ForSystem>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")));
        if (forSystem)
            if (UINT d = forSystem(); d > 0) return static_cast<int>(d);
    }
    HDC screen = GetDC(nullptr);
    int d = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return d > 0 ? d : 96;
}

}  // namespace

int Dpi() {
    static const int dpi = ReadDpi();
    return dpi;
}

int ToScreen(int units) { return MulDiv(units, Dpi(), 96); }
int ToForm(int pixels) { return MulDiv(pixels, 96, Dpi()); }

}  // namespace win32
