// Top-level windows built from their forms, and their events.

#include <algorithm>
#include <stdexcept>

#include "controls.h"

#include <commctrl.h>

namespace win32 {

using namespace platform;

namespace {

LRESULT CALLBACK WindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* w = static_cast<W32Window*>(cs->lpCreateParams);
        w->hwnd = h;
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    }
    auto* w = reinterpret_cast<W32Window*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!w) return DefWindowProcW(h, msg, wp, lp);
    return w->handle(msg, wp, lp);
}

void RegisterWindowClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = Instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = WindowClass;
    RegisterClassExW(&wc);
    done = true;
}

DWORD StyleOf(uint32_t flags) {
    if (flags & NoFrame) return WS_POPUP;
    DWORD s = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (flags & MinimizeButton) s |= WS_MINIMIZEBOX;
    if (!(flags & FixedSize)) s |= WS_THICKFRAME;
    return s;
}

}  // namespace

W32Window::W32Window(W32Ui& u, const FormSpec& form) : ui(u) {
    RegisterWindowClass();
    name_ = form.name;
    defaultFont = MakeFont(Font{});
    const Place& p = form.place;
    CreateWindowExW(0, WindowClass, Wide(form.caption).c_str(), StyleOf(form.flags), ToScreen(p.x),
                    ToScreen(p.y), ToScreen(p.w), ToScreen(p.h),
                    nullptr, nullptr, Instance, this);
    if (!hwnd) throw std::runtime_error(std::string("cannot create window ") + form.name);
    SetPropW(hwnd, NameProperty,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomW(Wide(name_).c_str()))));
    build(form);
    lastClient_ = clientSize();
    ui.windows.push_back(this);
    if (!(form.flags & WindowHidden)) show();
}

W32Window::~W32Window() {
    if (hwnd) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
}

void W32Window::build(const FormSpec& form) {
    int nextId = 1000;
    for (const ControlForm& f : form.controls) {
        auto c = MakeControl(f);
        c->name_ = f.name;
        c->kind_ = f.kind;
        c->window = this;
        c->form = &f;
        c->text_ = f.text;
        c->place_ = f.place;
        c->enabled_ = !(f.flags & Disabled);
        c->visible_ = !(f.flags & Hidden);
        c->id = nextId++;
        if (*f.parent) {
            auto it = byName_.find(f.parent);
            if (it == byName_.end())
                throw std::logic_error(std::string("form ") + form.name + ": parent " + f.parent +
                                       " of " + f.name + " must come before it");
            c->parent = it->second;
        }
        if (auto* e = dynamic_cast<W32Edit*>(c.get())) e->maxLength_ = f.maxLength;
        if (*f.name) {
            if (byName_.count(f.name))
                throw std::logic_error(std::string("form ") + form.name + ": two controls named " + f.name);
            byName_[f.name] = c.get();
        }
        CreateControlWindow(*c, *this);
        controls.push_back(std::move(c));
    }
    applyStates();
}

void W32Window::applyStates() {
    for (auto& c : controls) c->applyState();
}

Control* W32Window::find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

W32Control* W32Window::byId(int id) const {
    int i = id - 1000;
    if (i < 0 || i >= static_cast<int>(controls.size())) return nullptr;
    return controls[static_cast<size_t>(i)].get();
}

Text W32Window::caption() const { return hwnd ? WindowText(hwnd) : Text(); }
void W32Window::setCaption(const Text& c) {
    if (hwnd) SetWindowTextW(hwnd, Wide(c).c_str());
}
bool W32Window::visible() const { return hwnd && IsWindowVisible(hwnd); }

void W32Window::show() {
    if (destroyed_ || !hwnd) return;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    if (!activated_) {
        activated_ = true;
        PostMessageW(hwnd, WM_FIRST_ACTIVATED, 0, 0);
    }
}

void W32Window::hide() {
    if (hwnd) ShowWindow(hwnd, SW_HIDE);
}

Place W32Window::place() const {
    RECT r{};
    if (hwnd) GetWindowRect(hwnd, &r);
    return Place{ToForm(r.left), ToForm(r.top), ToForm(r.right - r.left), ToForm(r.bottom - r.top)};
}

void W32Window::setPlace(Place p) {
    if (hwnd) MoveWindow(hwnd, ToScreen(p.x), ToScreen(p.y), ToScreen(p.w), ToScreen(p.h), TRUE);
}

Size W32Window::clientSize() const {
    RECT r{};
    if (hwnd) GetClientRect(hwnd, &r);
    return Size{ToForm(r.right - r.left), ToForm(r.bottom - r.top)};
}

bool W32Window::hasMinimizeButton() const {
    return hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_MINIMIZEBOX);
}

void W32Window::setMinimizeButton(bool on) {
    if (!hwnd) return;
    LONG s = GetWindowLongW(hwnd, GWL_STYLE);
    SetWindowLongW(hwnd, GWL_STYLE, on ? (s | WS_MINIMIZEBOX) : (s & ~WS_MINIMIZEBOX));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

bool W32Window::enabled() const { return hwnd && IsWindowEnabled(hwnd); }

void W32Window::showModal(Window* owner) {
    if (destroyed_) return;
    auto* o = dynamic_cast<W32Window*>(owner);
    HWND ownerH = o && !o->destroyed() ? o->hwnd : nullptr;
    if (ownerH) {
        SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerH));
        EnableWindow(ownerH, FALSE);
    }
    show();
    SetActiveWindow(hwnd);
    ui.loopUntil([this] { return destroyed_ || !IsWindowVisible(hwnd); });
    if (ownerH && IsWindow(ownerH)) {
        EnableWindow(ownerH, TRUE);
        SetActiveWindow(ownerH);
    }
}

void W32Window::close() {
    if (destroyed_) return;
    if (CloseQuery && !CloseQuery()) return;
    destroy();
}

void W32Window::destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (Destroying) Destroying();
    for (auto& c : controls)
        if (auto* t = dynamic_cast<W32Timer*>(c.get())) t->setPeriod(0);
    auto& ws = ui.windows;
    ws.erase(std::remove(ws.begin(), ws.end(), this), ws.end());
    if (hwnd) DestroyWindow(hwnd);
}

LRESULT W32Window::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_FIRST_ACTIVATED:
            if (!destroyed_ && FirstActivated) FirstActivated();
            return 0;
        case WM_COMMAND: {
            W32Control* c = lp ? byId(LOWORD(wp)) : nullptr;
            if (c && programUpdate == 0) c->command(HIWORD(wp));
            return 0;
        }
        case WM_NOTIFY: {
            auto* n = reinterpret_cast<NMHDR*>(lp);
            W32Control* c = byId(static_cast<int>(n->idFrom));
            return c ? c->notify(n) : 0;
        }
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            if (W32Control* c = byId(static_cast<int>(d->CtlID))) c->draw(d);
            return TRUE;
        }
        case WM_TIMER:
            if (auto* t = dynamic_cast<W32Timer*>(byId(static_cast<int>(wp)))) t->elapsed();
            return 0;
        case WM_SIZE: {
            if (wp == SIZE_MINIMIZED) return 0;
            Size now{ToForm(LOWORD(lp)), ToForm(HIWORD(lp))};
            if (!(now == lastClient_)) {
                lastClient_ = now;
                if (SizeChanged) SizeChanged(now.width, now.height);
            }
            return 0;
        }
        case WM_CLOSE:
            close();
            return 0;
        case WM_DESTROY:
            // Destroyed by the system (its owner went): the program hears of it too.
            if (!destroyed_) {
                destroyed_ = true;
                if (Destroying) Destroying();
                auto& ws = ui.windows;
                ws.erase(std::remove(ws.begin(), ws.end(), this), ws.end());
            }
            return 0;
        case WM_NCDESTROY:
            hwnd = nullptr;
            for (auto& c : controls) c->hwnd = nullptr;
            return 0;
        case WM_ERASEBKGND: {
            const Scheme* s = CurrentScheme();
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wp), &r,
                     s ? SolidBrush(s->window) : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            HWND ch = reinterpret_cast<HWND>(lp);
            W32Control* c = byId(GetDlgCtrlID(ch));
            const Scheme* s = CurrentScheme();
            bool editLike = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX ||
                            (c && (c->kind_ == Kind::Edit || c->kind_ == Kind::Memo));
            Color back = c ? c->backColor_ : DefaultColor;
            Color text = c ? c->textColor_ : DefaultColor;
            if (back == DefaultColor && s) back = editLike ? s->edit : s->window;
            if (text == DefaultColor && s) text = s->text;
            if (back == DefaultColor && text == DefaultColor) break;
            HDC dc = reinterpret_cast<HDC>(wp);
            if (text != DefaultColor && (!c || c->usable())) SetTextColor(dc, text);
            if (back == DefaultColor)
                back = static_cast<Color>(GetSysColor(editLike ? COLOR_WINDOW : COLOR_BTNFACE));
            SetBkColor(dc, back);
            return reinterpret_cast<LRESULT>(SolidBrush(back));
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace win32
