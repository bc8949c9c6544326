// Windows, controls, timers, pauses and message boxes.
//
// Every control of a window is created from the window's form and is
// addressed by its name. Handlers are plain std::function members: the
// backend calls them on the GUI thread when the user (or the system) raises
// the event. Setting a property from the program never raises a user event.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/text.h"

namespace platform {

// Colours in the Windows layout: red in the lowest byte, then green, blue.
using Color = uint32_t;
constexpr Color Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr Color Black = 0;
constexpr Color Grey = Rgb(128, 128, 128);
constexpr Color DefaultColor = 0xFFFFFFFFu;  // the control's system colour

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

class Control {
public:
    virtual ~Control() = default;
    virtual const std::string& name() const = 0;
    virtual Kind kind() const = 0;

    // Caption of labels, buttons, boxes and windows; the text of edit boxes.
    virtual Text text() const = 0;
    virtual void setText(const Text& text) = 0;

    // Own enabled state; a control inside a disabled group box cannot be
    // used even while its own state is enabled (see usable()).
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool usable() const = 0;
    virtual bool visible() const = 0;
    virtual void setVisible(bool on) = 0;

    virtual Place place() const = 0;
    virtual void setPlace(Place p) = 0;

    virtual Color textColor() const = 0;
    virtual void setTextColor(Color c) = 0;
    virtual Color backColor() const = 0;
    virtual void setBackColor(Color c) = 0;

    virtual void setFocus() = 0;
    virtual bool focused() const = 0;
    // Paints the control at once, without waiting for the message loop.
    virtual void repaint() = 0;
};

class Label : public virtual Control {
public:
    // Three-colour gradient; mode 0 is no gradient.
    virtual void setGradient(int mode, Color c1, Color c2, Color c3) = 0;
    virtual int gradientMode() const = 0;
    virtual void setBackPicture(const std::string& bytes) = 0;
    virtual const std::string& backPicture() const = 0;
};

class Button : public virtual Control {
public:
    std::function<void()> Clicked;
};

class CheckBox : public virtual Control {
public:
    virtual bool checked() const = 0;
    virtual void setChecked(bool on) = 0;
    std::function<void()> Clicked;  // raised after the user toggled it
};

class RadioButton : public virtual Control {
public:
    virtual bool checked() const = 0;
    // Checking one radio button unchecks the others of the same parent.
    virtual void setChecked(bool on) = 0;
    std::function<void()> Clicked;
};

class ComboBox : public virtual Control {
public:
    virtual int count() const = 0;
    virtual void addItem(const Text& text, int32_t value) = 0;
    // Inserting at or past the end appends.
    virtual void insertItem(int pos, const Text& text, int32_t value) = 0;
    // Deleting a position that does not exist does nothing.
    virtual void deleteItem(int pos) = 0;
    virtual void clear() = 0;
    virtual Text itemText(int pos) const = 0;
    virtual void setItemText(int pos, const Text& text) = 0;
    virtual int32_t itemValue(int pos) const = 0;

    // Selected position, -1 when nothing is selected.
    virtual int selected() const = 0;
    // The selection rule: a position past the last entry selects the last
    // entry, -1 and below clear the selection. Raises no user event.
    virtual void select(int pos) = 0;

    Text selectedText() const { int s = selected(); return s < 0 ? Text() : itemText(s); }

    std::function<void()> Picked;        // the user picked an entry
    std::function<void()> DroppingDown;  // the list is about to drop down
    std::function<void()> ClosedUp;      // the drop-down list closed
};

// A multi-line box that is only ever appended to (a running log) keeps its
// last lines: once an append takes it past MemoKeepLimit characters, whole
// lines are dropped from its start until no more than MemoKeepAfterTrim
// remain. A Windows edit box refuses appends past its text limit, so an
// untrimmed log would freeze after some hours of polling.
inline constexpr size_t MemoKeepLimit = 30000;
inline constexpr size_t MemoKeepAfterTrim = 20000;

// How many leading characters of a log to drop: none while it is within
// MemoKeepLimit, else up to and including the first line end at or after
// the last MemoKeepAfterTrim characters (those characters themselves when
// they hold no line end). For the GBK text of the headless backend and the
// wide text of a Windows edit box alike.
template <class String>
size_t MemoTrimCount(const String& text) {
    if (text.size() <= MemoKeepLimit) return 0;
    size_t keepFrom = text.size() - MemoKeepAfterTrim;
    size_t end = text.find(typename String::value_type('\n'), keepFrom);
    return end == String::npos ? keepFrom : end + 1;
}

class Edit : public virtual Control {
public:
    // Appends text at the end and scrolls to it (multi-line boxes), trimming
    // the start as MemoKeepLimit says.
    virtual void append(const Text& text) = 0;
    virtual int maxLength() const = 0;
    // Raised for each key the user presses, before it is typed; returning
    // true swallows the key.
    std::function<bool(int key)> KeyPressed;
    std::function<void()> Changed;  // the user changed the text
};

class GroupBox : public virtual Control {};
class Shape : public virtual Control {};

class TabControl : public virtual Control {
public:
    virtual int page() const = 0;
    virtual void setPage(int index) = 0;
    virtual int pageCount() const = 0;
};

class ProgressBar : public virtual Control {
public:
    virtual int position() const = 0;
    virtual void setPosition(int pos) = 0;  // 0 to 100
};

class PictureBox : public virtual Control {
public:
    virtual void setPicture(const std::string& bytes) = 0;
    virtual const std::string& picture() const = 0;
};

class Canvas : public virtual Control {
public:
    virtual void drawText(int x, int y, const Text& text) = 0;
    virtual void clearDrawing() = 0;
    // Decodes the picture and returns its size, nullopt if not decodable.
    virtual std::optional<Size> measurePicture(const std::string& bytes) = 0;
};

class Timer : public virtual Control {
public:
    virtual int period() const = 0;
    // 0 stops the timer; any other period (re)starts the count from now.
    virtual void setPeriod(int milliseconds) = 0;
    std::function<void()> Elapsed;
};

using WindowHandle = intptr_t;

class Window {
public:
    virtual ~Window() = default;
    virtual const std::string& name() const = 0;
    virtual WindowHandle handle() const = 0;

    virtual Text caption() const = 0;
    virtual void setCaption(const Text& caption) = 0;
    virtual bool visible() const = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual Place place() const = 0;  // outer place on the screen
    virtual void setPlace(Place p) = 0;
    virtual Size clientSize() const = 0;
    virtual bool hasMinimizeButton() const = 0;
    virtual void setMinimizeButton(bool on) = 0;
    virtual bool enabled() const = 0;

    // Shows the window modally over owner (nullptr: no owner) and returns
    // when it has been destroyed or closed. Owner's input is disabled meanwhile.
    virtual void showModal(Window* owner) = 0;
    // Asks the window to close, as its close box does (CloseQuery decides).
    virtual void close() = 0;
    // Destroys the window now: Destroying runs, then the window is gone.
    virtual void destroy() = 0;
    virtual bool destroyed() const = 0;

    // The named control, nullptr when the form has none of that name.
    virtual Control* find(const std::string& name) const = 0;
    template <class T>
    T& get(const std::string& controlName) const {
        Control* c = find(controlName);
        return dynamic_cast<T&>(*c);
    }

    // Raised from the message loop after the window was first shown, so
    // handlers attached right after createWindow still see it.
    std::function<void()> FirstActivated;
    std::function<void(int width, int height)> SizeChanged;  // client size
    std::function<void()> Idle;
    std::function<bool()> CloseQuery;  // true: the window may close
    std::function<void()> Destroying;
};

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;
    // Creates a window from its form; hidden or shown as the form says.
    virtual Window& createWindow(const FormSpec& form) = 0;

    // Modal message box. defaultButton counts the buttons from 0.
    virtual Answer messageBox(Window* owner, const Text& text, const Text& caption,
                              Icon icon, Buttons buttons, int defaultButton = 0) = 0;

    // Blocking pause: nothing is dispatched; serial bytes wait in order.
    virtual void sleep(int milliseconds) = 0;
    // Event-pumping pause: window, timer and serial events run inside it.
    virtual void pumpFor(int milliseconds) = 0;
    // Lets the events that are pending now run once.
    virtual void processEvents() = 0;

    // Runs the message loop until the window has been destroyed.
    virtual void runUntilDestroyed(Window& main) = 0;

    virtual Size screenSize() const = 0;
    // 1, 2 or 3 select a colour scheme for all windows; other numbers
    // switch styling off. Must be chosen before the windows it dresses.
    virtual void setVisualStyle(int style) = 0;
    virtual int visualStyle() const = 0;
};

}  // namespace platform
