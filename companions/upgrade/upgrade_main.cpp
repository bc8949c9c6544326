// Firmware-upgrade stand-in: the program boardtool copies and starts for a
// firmware upgrade. It shows a window saying what it is and, when it
// starts, writes upgrade_started.txt beside itself with the date, time and
// command line, so that a test or a demo can see that it ran.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t* const Caption = L"firmware upgrade stand-in";

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    size_t cut = p.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring(L".") : p.substr(0, cut);
}

void WriteMarker() {
    std::wstring file = OwnFolder() + L"\\upgrade_started.txt";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SYSTEMTIME t;
    GetLocalTime(&t);
    char line[96];
    int n = std::snprintf(line, sizeof line, "started %04u-%02u-%02u %02u:%02u:%02u\r\n", t.wYear, t.wMonth, t.wDay,
                          t.wHour, t.wMinute, t.wSecond);
    std::string text(line, static_cast<size_t>(n));
    text += std::string("command line: ") + GetCommandLineA() + "\r\n";
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WriteMarker();

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"FirmwareUpgradeStandIn";
    if (!RegisterClassW(&wc)) return 1;

    HWND window = CreateWindowExW(0, wc.lpszClassName, Caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 420, 160, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    HWND label = CreateWindowExW(0, L"STATIC",
                                 L"This program stands in for the firmware upgrade program.\r\n"
                                 L"It does not talk to the board. Close it to end.",
                                 WS_CHILD | WS_VISIBLE, 16, 16, 380, 60, window, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
