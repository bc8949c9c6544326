// Windows are data: a form is a table of controls, written the way the
// window's description reads. Each backend builds real windows from it.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

enum class Kind {
    Label,
    Button,
    CheckBox,
    RadioButton,
    ComboBox,     // drop-down list: the user can only pick an entry
    Edit,         // single-line edit box
    Memo,         // multi-line edit box
    GroupBox,     // enables and disables its children with itself
    TabControl,   // pages switched by the program
    TabPage,      // child of a TabControl; its text is the tab text
    ProgressBar,
    PictureBox,
    Canvas,
    Shape,
    Timer,        // invisible
};

struct Place {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Font {
    const char* face = nullptr;  // nullptr: the window's default font
    int pixels = 0;              // character height in pixels
    bool bold = false;
    bool italic = false;
};

// Flags of a control's state at design time.
enum : uint32_t {
    Disabled = 1u << 0,
    Hidden = 1u << 1,
    Checked = 1u << 2,
    ReadOnly = 1u << 3,
    PasswordMask = 1u << 4,   // shows every character as "*"
    AlignRight = 1u << 5,
    AlignCenter = 1u << 6,
    DecimalInput = 1u << 7,   // typing takes only 0-9, "." and "-"
    NoCaption = 1u << 8,      // group box without a caption line
    WordWrap = 1u << 9,
};

struct FormItem {
    const char* text;
    int32_t value;
};

struct ControlForm {
    const char* name = "";    // empty: an anonymous static control
    Kind kind = Kind::Label;
    const char* parent = "";  // empty: the window itself
    Place place{};
    const char* text = "";
    Font font{};
    uint32_t flags = 0;
    std::vector<FormItem> items{};
    int maxLength = 0;        // edit boxes; 0 = no limit
};

// Flags of a window.
enum : uint32_t {
    WindowHidden = 1u << 0,    // created hidden
    MinimizeButton = 1u << 1,
    FixedSize = 1u << 2,
    NoFrame = 1u << 3,
};

struct FormSpec {
    const char* name = "";
    const char* caption = "";
    Place place{};             // x, y on screen; w, h outer size
    uint32_t flags = 0;
    std::vector<ControlForm> controls{};
};

}  // namespace platform
