// Making the controls' windows from the form, and painting the controls the
// backend draws itself (labels, pictures, canvas, shapes).

#include <stdexcept>

#include "controls.h"

#include <commctrl.h>

namespace win32 {

using namespace platform;

std::unique_ptr<W32Control> MakeControl(const ControlForm& f) {
    switch (f.kind) {
        case Kind::Label: return std::make_unique<W32Label>();
        case Kind::Button: return std::make_unique<W32Button>();
        case Kind::CheckBox: return std::make_unique<W32CheckBox>();
        case Kind::RadioButton: return std::make_unique<W32RadioButton>();
        case Kind::ComboBox: return std::make_unique<W32ComboBox>();
        case Kind::Edit:
        case Kind::Memo: return std::make_unique<W32Edit>();
        case Kind::GroupBox: return std::make_unique<W32GroupBox>();
        case Kind::TabControl: return std::make_unique<W32TabControl>();
        case Kind::TabPage: return std::make_unique<W32TabPage>();
        case Kind::ProgressBar: return std::make_unique<W32ProgressBar>();
        case Kind::PictureBox: return std::make_unique<W32PictureBox>();
        case Kind::Canvas: return std::make_unique<W32Canvas>();
        case Kind::Shape: return std::make_unique<W32Shape>();
        case Kind::Timer: return std::make_unique<W32Timer>();
    }
    throw std::logic_error("unknown control kind");
}

HFONT MakeFont(const Font& f) {
    std::wstring face = Wide(f.face ? f.face : "宋体");
    int pixels = f.pixels > 0 ? f.pixels : 12;
    return CreateFontW(-ToScreen(pixels), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, FALSE, FALSE,
                       GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

namespace {

// Typing into an edit box goes through the program's key handler and the
// box's input rules before the box takes it.
LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* e = reinterpret_cast<W32Edit*>(GetPropW(h, L"BoardSuiteEdit"));
    if (!e) return DefWindowProcW(h, msg, wp, lp);
    if (msg == WM_CHAR && !e->typing(static_cast<wchar_t>(wp))) return 0;
    return CallWindowProcW(e->original, h, msg, wp, lp);
}

struct Made {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle = 0;
};

Made StyleOf(const ControlForm& f) {
    DWORD base = WS_CHILD;
    uint32_t fl = f.flags;
    switch (f.kind) {
        case Kind::Label:
        case Kind::PictureBox:
        case Kind::Canvas:
        case Kind::Shape: return {L"STATIC", base | SS_OWNERDRAW | SS_NOTIFY};
        case Kind::Button: return {L"BUTTON", base | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE};
        case Kind::CheckBox: return {L"BUTTON", base | WS_TABSTOP | BS_AUTOCHECKBOX};
        case Kind::RadioButton: return {L"BUTTON", base | WS_TABSTOP | BS_RADIOBUTTON};
        case Kind::ComboBox:
            return {L"COMBOBOX", base | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
        case Kind::Edit:
        case Kind::Memo: {
            DWORD s = base | WS_TABSTOP;
            if (f.kind == Kind::Memo)
                s |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
            else
                s |= ES_AUTOHSCROLL;
            if (fl & ReadOnly) s |= ES_READONLY;
            if (fl & PasswordMask) s |= ES_PASSWORD;
            if (fl & AlignRight) s |= ES_RIGHT;
            else if (fl & AlignCenter) s |= ES_CENTER;
            return {L"EDIT", s, WS_EX_CLIENTEDGE};
        }
        case Kind::GroupBox: return {L"BUTTON", base | BS_GROUPBOX};
        case Kind::TabControl: return {WC_TABCONTROLW, base | WS_CLIPSIBLINGS};
        case Kind::ProgressBar: return {PROGRESS_CLASSW, base};
        case Kind::TabPage:
        case Kind::Timer: break;
    }
    return {nullptr, 0};
}

}  // namespace

void CreateControlWindow(W32Control& c, W32Window& w) {
    const ControlForm& f = *c.form;
    Made m = StyleOf(f);
    if (f.kind == Kind::TabPage && c.parent && c.parent->hwnd && c.parent->kind() == Kind::TabControl) {
        std::wstring t = Wide(c.text_);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = t.data();
        int n = static_cast<int>(SendMessageW(c.parent->hwnd, TCM_GETITEMCOUNT, 0, 0));
        SendMessageW(c.parent->hwnd, TCM_INSERTITEMW, n, reinterpret_cast<LPARAM>(&item));
    }
    if (!m.cls) return;
    POINT o = c.origin();
    int h = f.kind == Kind::ComboBox ? c.place_.h + 200 : c.place_.h;
    const char* text = (f.kind == Kind::GroupBox && (f.flags & NoCaption)) ? "" : f.text;
    c.hwnd = CreateWindowExW(m.exStyle, m.cls, Wide(text).c_str(), m.style, ToScreen(o.x), ToScreen(o.y),
                             ToScreen(c.place_.w), ToScreen(h),
                             w.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), Instance,
                             nullptr);
    if (!c.hwnd) return;
    if (!c.name_.empty())
        SetPropW(c.hwnd, NameProperty,
                 reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomW(Wide(c.name_).c_str()))));
    c.font = f.font.face || f.font.pixels ? MakeFont(f.font) : w.defaultFont;
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    if (auto* e = dynamic_cast<W32Edit*>(&c)) {
        if (f.flags & PasswordMask) SendMessageW(c.hwnd, EM_SETPASSWORDCHAR, L'*', 0);
        if (f.maxLength > 0) SendMessageW(c.hwnd, EM_LIMITTEXT, f.maxLength, 0);
        // Without a maximum a multi-line box takes any length: the default
        // of the edit control (about 30000 characters) would stop a box
        // that is appended to, such as the receive log, after some minutes.
        else if (f.kind == Kind::Memo) SendMessageW(c.hwnd, EM_SETLIMITTEXT, 0, 0);
        SetPropW(c.hwnd, L"BoardSuiteEdit", e);
        e->original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(c.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    }
    if (f.kind == Kind::ProgressBar) SendMessageW(c.hwnd, PBM_SETRANGE32, 0, 100);
    if (f.kind == Kind::ComboBox)
        for (const FormItem& item : f.items) {
            std::wstring t = Wide(item.text);
            LRESULT at = SendMessageW(c.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
            SendMessageW(c.hwnd, CB_SETITEMDATA, at, static_cast<LPARAM>(item.value));
        }
    if ((f.kind == Kind::CheckBox || f.kind == Kind::RadioButton) && (f.flags & Checked))
        SendMessageW(c.hwnd, BM_SETCHECK, BST_CHECKED, 0);
}

// ---------------------------------------------------------------------------
// Painting

namespace {

Color Resolve(Color own, Color fallback) { return own == DefaultColor ? fallback : own; }

Color FaceColor() {
    const Scheme* s = CurrentScheme();
    return s ? s->window : static_cast<Color>(GetSysColor(COLOR_BTNFACE));
}

Color TextColorOf(const W32Control& c) {
    if (!c.usable()) return static_cast<Color>(GetSysColor(COLOR_GRAYTEXT));
    const Scheme* s = CurrentScheme();
    return Resolve(c.textColor_, s ? s->text : static_cast<Color>(GetSysColor(COLOR_BTNTEXT)));
}

void Fill(HDC dc, const RECT& r, Color c) { FillRect(dc, &r, SolidBrush(c)); }

}  // namespace

void PaintGradient(HDC dc, const RECT& r, int mode, const Color c[3]) {
    // Odd modes run left to right, even modes top to bottom; the middle
    // colour sits halfway.
    bool across = mode % 2 == 1;
    int span = across ? r.right - r.left : r.bottom - r.top;
    if (span <= 0) return;
    for (int i = 0; i < span; ++i) {
        double t = span > 1 ? double(i) / (span - 1) : 0;
        Color a = t < 0.5 ? c[0] : c[1], b = t < 0.5 ? c[1] : c[2];
        double u = t < 0.5 ? t * 2 : (t - 0.5) * 2;
        auto mix = [&](int shift) {
            int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
            return static_cast<unsigned>(x + (y - x) * u + 0.5);
        };
        RECT line = across ? RECT{r.left + i, r.top, r.left + i + 1, r.bottom}
                           : RECT{r.left, r.top + i, r.right, r.top + i + 1};
        Fill(dc, line, Rgb(mix(0), mix(8), mix(16)));
    }
}

void W32Label::draw(DRAWITEMSTRUCT* d) {
    HDC dc = d->hDC;
    RECT r = d->rcItem;
    if (gradientMode_ > 0)
        PaintGradient(dc, r, gradientMode_, gradient);
    else if (decoded_)
        decoded_->paint(dc, r);
    else
        Fill(dc, r, Resolve(backColor_, FaceColor()));
    std::wstring t = Wide(text());
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColorOf(*this));
    uint32_t fl = form ? form->flags : 0;
    UINT how = DT_NOPREFIX | DT_EXPANDTABS;
    if (fl & WordWrap) how |= DT_WORDBREAK;
    if (fl & AlignRight) how |= DT_RIGHT;
    else if (fl & AlignCenter) how |= DT_CENTER;
    DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r, how);
    SelectObject(dc, old);
}

void W32Shape::draw(DRAWITEMSTRUCT* d) {
    Fill(d->hDC, d->rcItem, Resolve(backColor_, static_cast<Color>(GetSysColor(COLOR_WINDOW))));
    FrameRect(d->hDC, &d->rcItem, SolidBrush(Resolve(textColor_, Black)));
}

void W32PictureBox::draw(DRAWITEMSTRUCT* d) {
    Fill(d->hDC, d->rcItem, Resolve(backColor_, FaceColor()));
    if (!decoded_) return;
    // Shown at its own size (in form units) from the top-left corner.
    RECT r{d->rcItem.left, d->rcItem.top, d->rcItem.left + ToScreen(decoded_->width),
           d->rcItem.top + ToScreen(decoded_->height)};
    decoded_->paint(d->hDC, r);
}

void W32Canvas::draw(DRAWITEMSTRUCT* d) {
    HDC dc = d->hDC;
    Fill(dc, d->rcItem, Resolve(backColor_, FaceColor()));
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColorOf(*this));
    for (const Drawn& t : drawn) {
        std::wstring w = Wide(t.text);
        TextOutW(dc, d->rcItem.left + ToScreen(t.x), d->rcItem.top + ToScreen(t.y), w.c_str(),
                 static_cast<int>(w.size()));
    }
    SelectObject(dc, old);
}

// ---------------------------------------------------------------------------
// Colour schemes of the visual styles

namespace {
const Scheme Schemes[3] = {
    {Rgb(214, 226, 242), Rgb(16, 32, 80), Rgb(250, 252, 255)},   // blue
    {Rgb(222, 236, 214), Rgb(24, 56, 24), Rgb(252, 255, 250)},   // green
    {Rgb(240, 230, 212), Rgb(72, 40, 16), Rgb(255, 253, 248)},   // sand
};
const Scheme* current = nullptr;
std::map<Color, HBRUSH> brushes;
}  // namespace

const Scheme* CurrentScheme() { return current; }
void SetScheme(int style) { current = style >= 1 && style <= 3 ? &Schemes[style - 1] : nullptr; }

HBRUSH SolidBrush(Color c) {
    auto it = brushes.find(c);
    if (it != brushes.end()) return it->second;
    return brushes[c] = CreateSolidBrush(c);
}

}  // namespace win32
