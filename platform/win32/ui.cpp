// The Ui service: windows, message boxes, the message loops and the pauses.
#include <algorithm>

#include "internal.h"

namespace win32 {

using namespace platform;

namespace {

constexpr const wchar_t* MessageClass = L"BoardSuiteMessages";

LRESULT CALLBACK MessageProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SERIAL_DATA) {
        DeliverSerial(wp);
        return 0;
    }
    if (msg == WM_SERIAL_STATUS) {
        DeliverSerialStatus(wp, lp);
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

// Dispatches one queued message; false when the queue is empty.
bool DispatchOne() {
    MSG m;
    if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) return false;
    if (m.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(m.wParam));
        return false;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
    return true;
}

}  // namespace

W32Ui::W32Ui() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MessageProc;
    wc.hInstance = Instance;
    wc.lpszClassName = MessageClass;
    RegisterClassExW(&wc);
    messageWindow = CreateWindowExW(0, MessageClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Instance,
                                    nullptr);
}

W32Ui::~W32Ui() {
    owned_.clear();
    if (messageWindow) DestroyWindow(messageWindow);
}

Window& W32Ui::createWindow(const FormSpec& form) {
    owned_.push_back(std::make_unique<W32Window>(*this, form));
    return *owned_.back();
}

Answer W32Ui::messageBox(Window* owner, const Text& text, const Text& caption, Icon icon, Buttons buttons,
                         int defaultButton) {
    auto* o = dynamic_cast<W32Window*>(owner);
    HWND ownerH = o && !o->destroyed() ? o->hwnd : GetActiveWindow();
    UINT type = buttons == Buttons::OkCancel ? MB_OKCANCEL : buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
        case Icon::Information: type |= MB_ICONINFORMATION; break;
        case Icon::Warning: type |= MB_ICONWARNING; break;
        case Icon::Error: type |= MB_ICONERROR; break;
        case Icon::Question: type |= MB_ICONQUESTION; break;
        case Icon::None: break;
    }
    type |= defaultButton == 1 ? MB_DEFBUTTON2 : defaultButton >= 2 ? MB_DEFBUTTON3 : MB_DEFBUTTON1;
    if (!ownerH) type |= MB_TASKMODAL;
    int r = MessageBoxW(ownerH, Wide(text).c_str(), Wide(caption).c_str(), type);
    switch (r) {
        case IDCANCEL: return Answer::Cancel;
        case IDYES: return Answer::Yes;
        case IDNO: return Answer::No;
        default: return Answer::Ok;
    }
}

void W32Ui::sleep(int ms) { Sleep(static_cast<DWORD>(std::max(ms, 0))); }

void W32Ui::pumpFor(int ms) {
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max(ms, 0));
    for (;;) {
        while (DispatchOne()) {
        }
        ULONGLONG now = GetTickCount64();
        if (now >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

void W32Ui::processEvents() {
    // What is queued now, not what the handlers keep queueing meanwhile.
    DWORD pending = GetQueueStatus(QS_ALLINPUT);
    if (!HIWORD(pending)) return;
    for (int i = 0; i < 10000 && DispatchOne(); ++i) {
    }
}

void W32Ui::loopUntil(const std::function<bool()>& done) {
    bool idleDue = true;
    while (!done()) {
        MSG m;
        if (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(m.wParam));
                return;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
            idleDue = true;
            continue;
        }
        if (idleDue) {
            idleDue = false;
            fireIdle();
            continue;
        }
        WaitMessage();
    }
}

void W32Ui::fireIdle() {
    std::vector<W32Window*> ws = windows;
    for (W32Window* w : ws)
        if (!w->destroyed() && w->Idle) w->Idle();
}

void W32Ui::runUntilDestroyed(Window& main) {
    loopUntil([&main] { return main.destroyed(); });
}

Size W32Ui::screenSize() const {
    return Size{ToForm(GetSystemMetrics(SM_CXSCREEN)), ToForm(GetSystemMetrics(SM_CYSCREEN))};
}

void W32Ui::setVisualStyle(int style) {
    style_ = style;
    SetScheme(style);
}

}  // namespace win32
