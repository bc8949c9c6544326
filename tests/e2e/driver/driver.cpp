// The UI driver: finds a running program's windows and controls by their
// names (the "BoardSuiteName" window property) and works them the way a
// user would. One command per run; results go to stdout as UTF-8 lines;
// the exit code is 0 when things are as asked, 1 when not, 2 on misuse.
//
//   uidriver wait-window FORM [MS]        uidriver wait-gone FORM [MS]
//   uidriver caption FORM                 uidriver rect FORM|box
//   uidriver text FORM CONTROL            uidriver wait-text FORM CONTROL TEXT [MS]
//   uidriver enabled FORM [CONTROL]        uidriver visible FORM CONTROL
//   uidriver items FORM COMBO             uidriver selected FORM COMBO
//   uidriver pick FORM COMBO TEXT         uidriver settext FORM EDIT TEXT
//   uidriver type FORM EDIT TEXT          uidriver click FORM CONTROL
//   uidriver close FORM                   uidriver box [MS]
//   uidriver answer ok|cancel|yes|no [MS]
//
// FORM is a form name or a window caption.
#include <windows.h>

#include <cstdio>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

void Out(const std::wstring& line) {
    std::string s = Utf8(line) + "\n";
    DWORD put;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
}

int Fail(const std::wstring& why) {
    std::string s = "uidriver: " + Utf8(why) + "\n";
    DWORD put;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
    return 1;
}

std::wstring NameOf(HWND h) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, L"BoardSuiteName")));
    if (!atom) return std::wstring();
    wchar_t buf[256];
    UINT n = GlobalGetAtomNameW(atom, buf, 256);
    return std::wstring(buf, n);
}

std::wstring TextOf(HWND h) {
    LRESULT n = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessageW(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()));
    w.resize(static_cast<size_t>(n));
    return w;
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[128];
    int n = GetClassNameW(h, buf, 128);
    return std::wstring(buf, static_cast<size_t>(n));
}

struct Search {
    std::wstring want;
    HWND found = nullptr;
};

HWND FindTop(const std::wstring& form) {
    Search s{form};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (ClassOf(h) != L"BoardSuiteWindow" || !IsWindowVisible(h)) return TRUE;
            if (NameOf(h) == s->want || TextOf(h) == s->want) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindChild(HWND top, const std::wstring& name) {
    Search s{name};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (NameOf(h) == s->want) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindBox() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            if (ClassOf(h) == L"#32770" && IsWindowVisible(h)) {
                *reinterpret_cast<HWND*>(lp) = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

template <class F>
HWND WaitFor(F find, int ms) {
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (;;) {
        if (HWND h = find()) return h;
        if (GetTickCount64() >= end) return nullptr;
        Sleep(50);
    }
}

int Ms(const std::vector<std::wstring>& a, size_t i, int def) {
    return a.size() > i ? _wtoi(a[i].c_str()) : def;
}

std::vector<std::wstring> ComboItems(HWND c) {
    std::vector<std::wstring> items;
    int n = static_cast<int>(SendMessageW(c, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        LRESULT len = SendMessageW(c, CB_GETLBTEXTLEN, i, 0);
        std::wstring w(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
        len = SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(w.data()));
        w.resize(static_cast<size_t>(len > 0 ? len : 0));
        items.push_back(w);
    }
    return items;
}

void Notify(HWND control, int code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

int Run(const std::vector<std::wstring>& a) {
    if (a.empty()) return 2;
    const std::wstring& cmd = a[0];
    if (cmd == L"box" || cmd == L"answer") {
        int ms = Ms(a, cmd == L"box" ? 1 : 2, 10000);
        HWND box = WaitFor(FindBox, ms);
        if (!box) return Fail(L"no message box");
        if (cmd == L"box") {
            // The longest static text is the message; the icon has none.
            std::wstring text;
            EnumChildWindows(
                box,
                [](HWND h, LPARAM lp) -> BOOL {
                    auto* t = reinterpret_cast<std::wstring*>(lp);
                    std::wstring s = TextOf(h);
                    if (ClassOf(h) == L"Static" && s.size() > t->size()) *t = s;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&text));
            Out(TextOf(box));
            Out(text);
            return 0;
        }
        if (a.size() < 2) return 2;
        int id = a[1] == L"ok" ? IDOK : a[1] == L"cancel" ? IDCANCEL : a[1] == L"yes" ? IDYES
                 : a[1] == L"no" ? IDNO : 0;
        HWND b = GetDlgItem(box, id);
        if (!b) return Fail(L"the message box has no button " + a[1]);
        PostMessageW(b, BM_CLICK, 0, 0);
        if (!WaitFor([box] { return IsWindow(box) ? nullptr : box; }, 10000)) return Fail(L"the box stayed");
        return 0;
    }
    if (a.size() < 2) return 2;
    if (cmd == L"wait-window") {
        return WaitFor([&] { return FindTop(a[1]); }, Ms(a, 2, 10000)) ? 0 : Fail(L"no window " + a[1]);
    }
    if (cmd == L"wait-gone") {
        ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(Ms(a, 2, 10000));
        while (FindTop(a[1]))
            if (GetTickCount64() >= end) return Fail(L"window " + a[1] + L" still there");
            else Sleep(50);
        return 0;
    }
    if (cmd == L"rect") {
        HWND h = a[1] == L"box" ? FindBox() : FindTop(a[1]);
        if (!h) return Fail(L"no window " + a[1]);
        RECT r;
        GetWindowRect(h, &r);
        Out(std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top) + L"+" +
            std::to_wstring(r.left) + L"+" + std::to_wstring(r.top));
        return 0;
    }
    HWND top = FindTop(a[1]);
    if (!top) return Fail(L"no window " + a[1]);
    if (cmd == L"caption") {
        Out(TextOf(top));
        return 0;
    }
    if (cmd == L"enabled" && a.size() == 2) {
        Out(IsWindowEnabled(top) ? L"1" : L"0");
        return 0;
    }
    if (cmd == L"close") {
        PostMessageW(top, WM_CLOSE, 0, 0);
        return 0;
    }
    if (a.size() < 3) return 2;
    HWND c = FindChild(top, a[2]);
    if (!c) return Fail(a[1] + L" has no control " + a[2]);
    if (cmd == L"text") {
        Out(TextOf(c));
        return 0;
    }
    if (cmd == L"wait-text") {
        if (a.size() < 4) return 2;
        ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(Ms(a, 4, 10000));
        for (;;) {
            std::wstring t = TextOf(c);
            if (t == a[3]) return 0;
            if (GetTickCount64() >= end) {
                Out(t);
                return Fail(a[2] + L" reads \"" + t + L"\"");
            }
            Sleep(50);
        }
    }
    if (cmd == L"enabled") {
        Out(IsWindowEnabled(c) ? L"1" : L"0");
        return 0;
    }
    if (cmd == L"visible") {
        Out(IsWindowVisible(c) ? L"1" : L"0");
        return 0;
    }
    if (cmd == L"items") {
        for (const std::wstring& t : ComboItems(c)) Out(t);
        return 0;
    }
    if (cmd == L"selected") {
        int sel = static_cast<int>(SendMessageW(c, CB_GETCURSEL, 0, 0));
        std::vector<std::wstring> items = ComboItems(c);
        Out(std::to_wstring(sel) + L" " + (sel >= 0 && sel < static_cast<int>(items.size()) ? items[sel] : L""));
        return 0;
    }
    if (!IsWindowEnabled(c) || !IsWindowVisible(c)) return Fail(a[2] + L" cannot be used now");
    if (cmd == L"click") {
        PostMessageW(c, BM_CLICK, 0, 0);
        return 0;
    }
    if (a.size() < 4) return 2;
    if (cmd == L"pick") {
        // As a user's pick: the list drops down, an entry is chosen, it closes.
        Notify(c, CBN_DROPDOWN);
        std::vector<std::wstring> items = ComboItems(c);
        int at = -1;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == a[3]) at = static_cast<int>(i);
        if (at >= 0) {
            SendMessageW(c, CB_SETCURSEL, at, 0);
            Notify(c, CBN_SELCHANGE);
            Notify(c, CBN_SELENDOK);
        }
        Notify(c, CBN_CLOSEUP);
        return at >= 0 ? 0 : Fail(a[2] + L" has no entry " + a[3]);
    }
    if (cmd == L"settext") {
        SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[3].c_str()));
        return 0;
    }
    if (cmd == L"type") {
        SetForegroundWindow(top);
        for (wchar_t ch : a[3]) SendMessageW(c, WM_CHAR, ch, 1);
        return 0;
    }
    return 2;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> a;
    for (int i = 1; i < argc; ++i) a.push_back(argv[i]);
    int r = Run(a);
    if (r == 2) Fail(L"usage: see the head of driver.cpp");
    return r;
}
