// Controls: state shared by every kind and the behaviour of each kind.

#include <algorithm>

#include "../common/picture.h"
#include "controls.h"

#include <commctrl.h>

namespace win32 {

using namespace platform;

// ---------------------------------------------------------------------------
// Every control

W32Control::~W32Control() = default;

Text W32Control::text() const { return hwnd ? WindowText(hwnd) : text_; }

void W32Control::setText(const Text& t) {
    text_ = t;
    if (kind_ == Kind::TabPage && parent && parent->hwnd) {
        auto* tabs = static_cast<W32TabControl*>(parent);
        for (int i = 0; i < tabs->pageCount(); ++i)
            if (tabs->pageControl(i) == this) {
                std::wstring w = Wide(t);
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = w.data();
                SendMessageW(parent->hwnd, TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
    }
    if (!hwnd) return;
    // A label showing this text already needs no repaint; the reply
    // processing sets several labels for every frame, most of them to the
    // text they show.
    if (kind_ == Kind::Label && WindowText(hwnd) == t) return;
    ProgramUpdate hold(window);
    SetWindowTextW(hwnd, Wide(t).c_str());
    invalidate();
}

void W32Control::setEnabled(bool on) {
    enabled_ = on;
    if (window) window->applyStates();
}

bool W32Control::usable() const {
    for (const W32Control* c = this; c; c = c->parent)
        if (!c->enabled_) return false;
    return true;
}

void W32Control::setVisible(bool on) {
    visible_ = on;
    if (window) window->applyStates();
}

bool W32Control::shown() const {
    for (const W32Control* c = this; c; c = c->parent) {
        if (!c->visible_) return false;
        if (c->kind_ == Kind::TabPage && c->parent && c->parent->kind_ == Kind::TabControl) {
            auto* tabs = static_cast<const W32TabControl*>(c->parent);
            if (tabs->pageControl(tabs->page()) != c) return false;
        }
    }
    return true;
}

void W32Control::applyState() {
    if (!hwnd) return;
    bool use = usable();
    if ((IsWindowEnabled(hwnd) != FALSE) != use) {
        EnableWindow(hwnd, use);
        invalidate();
    }
    bool show = shown();
    if (((GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != show)
        ShowWindow(hwnd, show ? SW_SHOWNA : SW_HIDE);
}

POINT W32Control::origin() const {
    POINT p{place_.x, place_.y};
    for (const W32Control* c = parent; c; c = c->parent) {
        p.x += c->place_.x;
        p.y += c->place_.y;
    }
    return p;
}

void W32Control::setPlace(Place p) {
    place_ = p;
    if (!window) return;
    // The control and everything inside it move.
    for (auto& c : window->controls) {
        bool inside = false;
        for (const W32Control* a = c.get(); a && !inside; a = a->parent) inside = a == this;
        if (!inside || !c->hwnd) continue;
        POINT o = c->origin();
        int h = c->place_.h;
        if (c->kind_ == Kind::ComboBox) h += 200;  // room for the dropped list
        MoveWindow(c->hwnd, ToScreen(o.x), ToScreen(o.y), ToScreen(c->place_.w), ToScreen(h), TRUE);
    }
}

void W32Control::invalidate() {
    if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
}

void W32Control::setFocus() {
    if (hwnd) SetFocus(hwnd);
}

bool W32Control::focused() const { return hwnd && GetFocus() == hwnd; }

void W32Control::repaint() {
    if (hwnd) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------
// Buttons

void W32Button::command(int code) {
    if (code == BN_CLICKED && Clicked) Clicked();
}

bool W32CheckBox::checked() const {
    return hwnd && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void W32CheckBox::setChecked(bool on) {
    if (hwnd) SendMessageW(hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void W32CheckBox::command(int code) {
    // The box toggles itself (an automatic check box) before this.
    if (code == BN_CLICKED && Clicked) Clicked();
}

bool W32RadioButton::checked() const {
    return hwnd && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void W32RadioButton::setChecked(bool on) {
    if (!hwnd) return;
    SendMessageW(hwnd, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!on || !window) return;
    for (auto& c : window->controls)
        if (c.get() != this && c->parent == parent && c->kind() == Kind::RadioButton && c->hwnd)
            SendMessageW(c->hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
}

void W32RadioButton::command(int code) {
    if (code != BN_CLICKED) return;
    setChecked(true);
    if (Clicked) Clicked();
}

// ---------------------------------------------------------------------------
// Drop-down lists. The selection is set explicitly after every change of the
// entries so that it follows the entries the same way on every system.

int W32ComboBox::count() const {
    return hwnd ? static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0)) : 0;
}

void W32ComboBox::addItem(const Text& text, int32_t value) { insertItem(-1, text, value); }

void W32ComboBox::insertItem(int pos, const Text& text, int32_t value) {
    if (!hwnd) return;
    ProgramUpdate hold(window);
    int sel = selected();
    int n = count();
    if (pos < 0 || pos >= n) pos = n;
    std::wstring w = Wide(text);
    LRESULT at = SendMessageW(hwnd, CB_INSERTSTRING, pos, reinterpret_cast<LPARAM>(w.c_str()));
    if (at < 0) return;
    SendMessageW(hwnd, CB_SETITEMDATA, at, static_cast<LPARAM>(value));
    if (sel >= pos) ++sel;
    SendMessageW(hwnd, CB_SETCURSEL, sel, 0);
}

void W32ComboBox::deleteItem(int pos) {
    if (!hwnd || pos < 0 || pos >= count()) return;
    ProgramUpdate hold(window);
    int sel = selected();
    SendMessageW(hwnd, CB_DELETESTRING, pos, 0);
    if (sel == pos)
        sel = -1;
    else if (sel > pos)
        --sel;
    SendMessageW(hwnd, CB_SETCURSEL, sel, 0);
}

void W32ComboBox::clear() {
    if (!hwnd) return;
    ProgramUpdate hold(window);
    SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
}

Text W32ComboBox::itemText(int pos) const {
    if (!hwnd || pos < 0 || pos >= count()) return Text();
    LRESULT n = SendMessageW(hwnd, CB_GETLBTEXTLEN, pos, 0);
    if (n <= 0) return Text();
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    n = SendMessageW(hwnd, CB_GETLBTEXT, pos, reinterpret_cast<LPARAM>(w.data()));
    return n > 0 ? Narrow(w.c_str(), static_cast<int>(n)) : Text();
}

void W32ComboBox::setItemText(int pos, const Text& text) {
    if (!hwnd || pos < 0 || pos >= count()) return;
    ProgramUpdate hold(window);
    int sel = selected();
    int32_t value = itemValue(pos);
    SendMessageW(hwnd, CB_DELETESTRING, pos, 0);
    std::wstring w = Wide(text);
    SendMessageW(hwnd, CB_INSERTSTRING, pos, reinterpret_cast<LPARAM>(w.c_str()));
    SendMessageW(hwnd, CB_SETITEMDATA, pos, static_cast<LPARAM>(value));
    SendMessageW(hwnd, CB_SETCURSEL, sel, 0);
}

int32_t W32ComboBox::itemValue(int pos) const {
    if (!hwnd || pos < 0 || pos >= count()) return 0;
    return static_cast<int32_t>(SendMessageW(hwnd, CB_GETITEMDATA, pos, 0));
}

int W32ComboBox::selected() const {
    return hwnd ? static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)) : -1;
}

void W32ComboBox::select(int pos) {
    if (!hwnd) return;
    ProgramUpdate hold(window);
    int n = count();
    int sel = (pos < 0 || n == 0) ? -1 : std::min(pos, n - 1);
    SendMessageW(hwnd, CB_SETCURSEL, sel, 0);
}

void W32ComboBox::command(int code) {
    switch (code) {
        case CBN_DROPDOWN: if (DroppingDown) DroppingDown(); break;
        case CBN_SELCHANGE: if (Picked) Picked(); break;
        case CBN_CLOSEUP: if (ClosedUp) ClosedUp(); break;
    }
}

// ---------------------------------------------------------------------------
// Edit boxes

void W32Edit::setText(const Text& t) {
    W32Control::setText(t);
    if (hwnd && kind_ == Kind::Memo) SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
}

void W32Edit::append(const Text& t) {
    if (!hwnd) return;
    ProgramUpdate hold(window);
    int n = GetWindowTextLengthW(hwnd);
    SendMessageW(hwnd, EM_SETSEL, n, n);
    SendMessageW(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Wide(t).c_str()));
    n = GetWindowTextLengthW(hwnd);
    if (static_cast<size_t>(n) > platform::MemoKeepLimit) {
        std::wstring all(static_cast<size_t>(n) + 1, L'\0');
        all.resize(static_cast<size_t>(GetWindowTextW(hwnd, all.data(), n + 1)));
        SendMessageW(hwnd, EM_SETSEL, 0, static_cast<LPARAM>(platform::MemoTrimCount(all)));
        SendMessageW(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
        n = GetWindowTextLengthW(hwnd);
    }
    SendMessageW(hwnd, EM_SETSEL, n, n);
    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
}

void W32Edit::command(int code) {
    if (code == EN_CHANGE && Changed) Changed();
}

bool W32Edit::typing(wchar_t ch) {
    if (ch < 128 && KeyPressed && KeyPressed(static_cast<int>(ch))) return false;
    if (ch < 32) return true;  // editing keys do their usual work
    uint32_t flags = form ? form->flags : 0;
    if ((flags & DecimalInput) && !((ch >= L'0' && ch <= L'9') || ch == L'.' || ch == L'-'))
        return false;
    if (maxLength_ > 0) {
        // The limit counts the bytes of the text, not its characters.
        DWORD from = 0, to = 0;
        SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        std::wstring w(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
        int n = GetWindowTextW(hwnd, w.data(), static_cast<int>(w.size()));
        w.resize(static_cast<size_t>(n));
        if (from <= to && to <= w.size()) w.erase(from, to - from);
        size_t bytes = Narrow(w).size() + Narrow(&ch, 1).size();
        if (bytes > static_cast<size_t>(maxLength_)) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Tab control, progress bar, pictures, canvas, timer

void W32TabControl::setPage(int index) {
    page_ = index;
    if (hwnd) SendMessageW(hwnd, TCM_SETCURSEL, index, 0);
    if (window) window->applyStates();
}

const W32Control* W32TabControl::pageControl(int index) const {
    int i = 0;
    if (!window) return nullptr;
    for (auto& c : window->controls)
        if (c->parent == this && c->kind() == Kind::TabPage) {
            if (i == index) return c.get();
            ++i;
        }
    return nullptr;
}

int W32TabControl::pageCount() const {
    int n = 0;
    if (window)
        for (auto& c : window->controls)
            if (c->parent == this && c->kind() == Kind::TabPage) ++n;
    return n;
}

LRESULT W32TabControl::notify(NMHDR* n) {
    // Only the program switches pages.
    return n->code == TCN_SELCHANGING ? TRUE : 0;
}

void W32ProgressBar::setPosition(int pos) {
    position_ = pos;
    if (hwnd) SendMessageW(hwnd, PBM_SETPOS, std::clamp(pos, 0, 100), 0);
}

void W32Label::setGradient(int mode, Color c1, Color c2, Color c3) {
    gradientMode_ = mode;
    gradient[0] = c1, gradient[1] = c2, gradient[2] = c3;
    invalidate();
}

void W32Label::setBackPicture(const std::string& bytes) {
    picture_ = bytes;
    decoded_ = DecodePicture(bytes);
    invalidate();
}

void W32PictureBox::setPicture(const std::string& bytes) {
    picture_ = bytes;
    decoded_ = DecodePicture(bytes);
    invalidate();
}

void W32Canvas::drawText(int x, int y, const Text& text) {
    drawn.push_back({x, y, text});
    invalidate();
}

void W32Canvas::clearDrawing() {
    drawn.clear();
    invalidate();
}

std::optional<Size> W32Canvas::measurePicture(const std::string& bytes) {
    auto p = DecodePicture(bytes);
    if (!p) return std::nullopt;
    return Size{p->width, p->height};
}

W32Timer::~W32Timer() {
    if (period_ > 0 && window && window->hwnd) KillTimer(window->hwnd, id);
}

void W32Timer::setPeriod(int milliseconds) {
    period_ = milliseconds < 0 ? 0 : milliseconds;
    if (!window || !window->hwnd) return;
    if (period_ == 0)
        KillTimer(window->hwnd, id);
    else
        SetTimer(window->hwnd, id, static_cast<UINT>(period_), nullptr);  // restarts the count
}

void W32Timer::elapsed() {
    if (period_ > 0 && Elapsed) Elapsed();
}

}  // namespace win32
