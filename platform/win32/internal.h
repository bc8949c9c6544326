// Internals of the Windows backend, shared by its source files.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace win32 {

using platform::Color;
using platform::Kind;
using platform::Place;
using platform::Text;

// GBK, the code page of every text of the suite.
constexpr UINT CodePage = 936;

std::wstring Wide(const Text& t);
Text Narrow(const wchar_t* w, int length = -1);
Text Narrow(const std::wstring& w);
Text WindowText(HWND h);

// Names a driver finds windows and controls by: a global atom of the form or
// control name in this window property.
constexpr const wchar_t* NameProperty = L"BoardSuiteName";
constexpr const wchar_t* WindowClass = L"BoardSuiteWindow";

// Messages of the backend to its own windows.
constexpr UINT WM_FIRST_ACTIVATED = WM_APP + 1;
constexpr UINT WM_SERIAL_DATA = WM_APP + 2;    // wParam: port id
constexpr UINT WM_SERIAL_STATUS = WM_APP + 3;  // wParam: port id, lParam: status

extern HINSTANCE Instance;

// The display's DPI, and conversions between form units (pixels at 96 DPI)
// and screen pixels (see dpi.cpp).
int Dpi();
int ToScreen(int units);
int ToForm(int pixels);

class W32Window;
class W32Ui;

// The colour scheme of the visual style in force; nullptr when none.
struct Scheme {
    Color window, text, edit;
};
const Scheme* CurrentScheme();
void SetScheme(int style);
HBRUSH SolidBrush(Color c);  // cached, never freed

class W32Control : public virtual platform::Control {
public:
    ~W32Control() override;
    const std::string& name() const override { return name_; }
    Kind kind() const override { return kind_; }
    Text text() const override;
    void setText(const Text& t) override;
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override;
    bool usable() const override;
    bool visible() const override { return visible_; }
    void setVisible(bool on) override;
    Place place() const override { return place_; }
    void setPlace(Place p) override;
    Color textColor() const override { return textColor_; }
    void setTextColor(Color c) override {
        if (c == textColor_) return;  // nothing to repaint
        textColor_ = c;
        invalidate();
    }
    Color backColor() const override { return backColor_; }
    void setBackColor(Color c) override { backColor_ = c; invalidate(); }
    void setFocus() override;
    bool focused() const override;
    void repaint() override;

    // Visible on screen: itself, its parents and, inside a tab control, its page.
    bool shown() const;
    // Screen state of the control's window from its own and its parents' states.
    void applyState();
    void invalidate();
    // Position of the control's top-left corner in the window's client area.
    POINT origin() const;
    // Called on WM_COMMAND / WM_NOTIFY from the control, outside program updates.
    virtual void command(int /*code*/) {}
    virtual LRESULT notify(NMHDR*) { return 0; }
    // Owner-drawn controls paint here.
    virtual void draw(DRAWITEMSTRUCT*) {}

    std::string name_;
    Kind kind_ = Kind::Label;
    W32Control* parent = nullptr;
    W32Window* window = nullptr;
    const platform::ControlForm* form = nullptr;
    HWND hwnd = nullptr;
    HFONT font = nullptr;
    int id = 0;
    bool enabled_ = true;
    bool visible_ = true;
    Place place_{};
    Color textColor_ = platform::DefaultColor;
    Color backColor_ = platform::DefaultColor;
    Text text_;  // the text of controls without a window of their own
};

class W32Window : public platform::Window {
public:
    W32Window(W32Ui& ui, const platform::FormSpec& form);
    ~W32Window() override;

    const std::string& name() const override { return name_; }
    platform::WindowHandle handle() const override { return reinterpret_cast<platform::WindowHandle>(hwnd); }
    Text caption() const override;
    void setCaption(const Text& caption) override;
    bool visible() const override;
    void show() override;
    void hide() override;
    Place place() const override;
    void setPlace(Place p) override;
    platform::Size clientSize() const override;
    bool hasMinimizeButton() const override;
    void setMinimizeButton(bool on) override;
    bool enabled() const override;
    void showModal(platform::Window* owner) override;
    void close() override;
    void destroy() override;
    bool destroyed() const override { return destroyed_; }
    platform::Control* find(const std::string& name) const override;

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    W32Control* byId(int id) const;
    void applyStates();  // after an enabled, visible or page change

    W32Ui& ui;
    HWND hwnd = nullptr;
    std::vector<std::unique_ptr<W32Control>> controls;
    // Above zero while the program itself changes a control: no user events.
    int programUpdate = 0;
    HFONT defaultFont = nullptr;

private:
    void build(const platform::FormSpec& form);
    std::string name_;
    std::map<std::string, W32Control*> byName_;
    bool activated_ = false;
    bool destroyed_ = false;
    platform::Size lastClient_{};
};

// Holds program updates of a window for the scope: controls raise no events.
struct ProgramUpdate {
    explicit ProgramUpdate(W32Window* w) : w_(w) { if (w_) ++w_->programUpdate; }
    ~ProgramUpdate() { if (w_) --w_->programUpdate; }
    W32Window* w_;
};

std::unique_ptr<W32Control> MakeControl(const platform::ControlForm& f);
// Creates the control's own window (none for timers and tab pages).
void CreateControlWindow(W32Control& c, W32Window& w);
HFONT MakeFont(const platform::Font& f);

class W32Ui : public platform::Ui {
public:
    W32Ui();
    ~W32Ui() override;
    platform::Window& createWindow(const platform::FormSpec& form) override;
    platform::Answer messageBox(platform::Window* owner, const Text& text, const Text& caption,
                                platform::Icon icon, platform::Buttons buttons,
                                int defaultButton) override;
    void sleep(int milliseconds) override;
    void pumpFor(int milliseconds) override;
    void processEvents() override;
    void runUntilDestroyed(platform::Window& main) override;
    platform::Size screenSize() const override;
    void setVisualStyle(int style) override;
    int visualStyle() const override { return style_; }

    // Waits in a (nested) message loop until done() holds; Idle runs each
    // time the queue has become empty.
    void loopUntil(const std::function<bool()>& done);
    void fireIdle();
    std::vector<W32Window*> windows;  // live windows
    HWND messageWindow = nullptr;     // receives the serial ports' wake-ups

private:
    std::vector<std::unique_ptr<W32Window>> owned_;
    int style_ = 0;
};

// Serial ports known to the GUI thread, by id (see serial_port.cpp).
void DeliverSerial(WPARAM portId);
void DeliverSerialStatus(WPARAM portId, LPARAM status);

std::unique_ptr<platform::Files> MakeFiles();
// Limits the library search to the system folder and the program's folder.
void RestrictDllSearch();
// The services of the run-time library (boardtool-shared), made at first use.
platform::Services* RuntimeServices();
std::unique_ptr<platform::Registry> MakeRegistry();
std::unique_ptr<platform::Shell> MakeShell();
std::unique_ptr<platform::Libraries> MakeLibraries();
std::unique_ptr<platform::Processes> MakeProcesses();
std::unique_ptr<platform::Clock> MakeClock();
std::unique_ptr<platform::SerialPort> MakeSerialPort(HWND messageWindow);

void PaintGradient(HDC dc, const RECT& r, int mode, const Color c[3]);

}  // namespace win32
