// The headless controls: plain objects in memory. Tests may look at them
// directly (a canvas's drawn texts, a control's form entry).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/ui.h"

namespace headless {

using platform::Color;
using platform::Kind;
using platform::Place;
using platform::Text;

class EventLoop;
class HWindow;

class HControl : public virtual platform::Control {
public:
    const std::string& name() const override { return name_; }
    Kind kind() const override { return kind_; }
    Text text() const override { return text_; }
    void setText(const Text& t) override {
        text_ = t;
        ++textWrites;
    }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override { enabled_ = on; }
    bool usable() const override;
    bool visible() const override { return visible_; }
    void setVisible(bool on) override { visible_ = on; }
    Place place() const override { return place_; }
    void setPlace(Place p) override { place_ = p; }
    Color textColor() const override { return textColor_; }
    void setTextColor(Color c) override { textColor_ = c; }
    Color backColor() const override { return backColor_; }
    void setBackColor(Color c) override { backColor_ = c; }
    void setFocus() override;
    bool focused() const override;
    void repaint() override { ++repaints; }

    // Visible on screen: itself, its parents and, on a tab control, its page.
    bool shown() const;

    std::string name_;
    Kind kind_ = Kind::Label;
    HControl* parent = nullptr;
    HWindow* window = nullptr;
    const platform::ControlForm* form = nullptr;
    Text text_;
    bool enabled_ = true;
    bool visible_ = true;
    Place place_{};
    Color textColor_ = platform::DefaultColor;
    Color backColor_ = platform::DefaultColor;
    int repaints = 0;
    int textWrites = 0;  // setText calls made by the program or a test
};

class HLabel : public HControl, public platform::Label {
public:
    void setGradient(int mode, Color c1, Color c2, Color c3) override {
        gradientMode_ = mode;
        gradient[0] = c1, gradient[1] = c2, gradient[2] = c3;
    }
    int gradientMode() const override { return gradientMode_; }
    void setBackPicture(const std::string& bytes) override { picture_ = bytes; }
    const std::string& backPicture() const override { return picture_; }
    int gradientMode_ = 0;
    Color gradient[3] = {0, 0, 0};
    std::string picture_;
};

class HButton : public HControl, public platform::Button {};

class HCheckBox : public HControl, public platform::CheckBox {
public:
    bool checked() const override { return checked_; }
    void setChecked(bool on) override { checked_ = on; }
    bool checked_ = false;
};

class HRadioButton : public HControl, public platform::RadioButton {
public:
    bool checked() const override { return checked_; }
    void setChecked(bool on) override;
    bool checked_ = false;
};

class HComboBox : public HControl, public platform::ComboBox {
public:
    int count() const override { return static_cast<int>(items_.size()); }
    void addItem(const Text& text, int32_t value) override { items_.push_back({text, value}); }
    void insertItem(int pos, const Text& text, int32_t value) override;
    void deleteItem(int pos) override;
    void clear() override { items_.clear(), selected_ = -1; }
    Text itemText(int pos) const override {
        return pos >= 0 && pos < count() ? items_[pos].first : Text();
    }
    void setItemText(int pos, const Text& text) override {
        if (pos >= 0 && pos < count()) items_[pos].first = text;
    }
    int32_t itemValue(int pos) const override {
        return pos >= 0 && pos < count() ? items_[pos].second : 0;
    }
    int selected() const override { return selected_; }
    void select(int pos) override;
    // A combo box shows its selected entry as its text.
    Text text() const override { return selectedText(); }
    std::vector<std::pair<Text, int32_t>> items_;
    int selected_ = -1;
};

class HEdit : public HControl, public platform::Edit {
public:
    void append(const Text& t) override {
        text_ += t;
        text_.erase(0, platform::MemoTrimCount(text_));
    }
    int maxLength() const override { return maxLength_; }
    int maxLength_ = 0;
};

class HGroupBox : public HControl, public platform::GroupBox {};
class HShape : public HControl, public platform::Shape {};
class HTabPage : public HControl {};

class HTabControl : public HControl, public platform::TabControl {
public:
    int page() const override { return page_; }
    void setPage(int index) override { page_ = index; }
    int pageCount() const override;
    const HControl* pageControl(int index) const;
    int page_ = 0;
};

class HProgressBar : public HControl, public platform::ProgressBar {
public:
    int position() const override { return position_; }
    void setPosition(int pos) override { position_ = pos; history.push_back(pos); }
    int position_ = 0;
    std::vector<int> history;  // every position set, in order
};

class HPictureBox : public HControl, public platform::PictureBox {
public:
    void setPicture(const std::string& bytes) override { picture_ = bytes; }
    const std::string& picture() const override { return picture_; }
    std::string picture_;
};

class HCanvas : public HControl, public platform::Canvas {
public:
    struct Drawn {
        int x, y;
        Text text;
    };
    void drawText(int x, int y, const Text& text) override { drawn.push_back({x, y, text}); }
    void clearDrawing() override { drawn.clear(); }
    std::optional<platform::Size> measurePicture(const std::string& bytes) override;
    std::vector<Drawn> drawn;
};

class HTimer : public HControl, public platform::Timer {
public:
    int period() const override { return period_; }
    void setPeriod(int milliseconds) override;
    int period_ = 0;
    int64_t nextDue = 0;
    uint64_t seq = 0;
};

class HWindow : public platform::Window {
public:
    HWindow(EventLoop& loop, const platform::FormSpec& form);
    const std::string& name() const override { return name_; }
    platform::WindowHandle handle() const override {
        return reinterpret_cast<platform::WindowHandle>(this);
    }
    Text caption() const override { return caption_; }
    void setCaption(const Text& c) override { caption_ = c; }
    bool visible() const override { return visible_; }
    void show() override;
    void hide() override { visible_ = false; }
    Place place() const override { return place_; }
    void setPlace(Place p) override;
    platform::Size clientSize() const override { return {place_.w, place_.h}; }
    bool hasMinimizeButton() const override { return minimize_; }
    void setMinimizeButton(bool on) override { minimize_ = on; }
    bool enabled() const override { return disabledCount == 0; }
    void showModal(platform::Window* owner) override;
    void close() override;
    void destroy() override;
    bool destroyed() const override { return destroyed_; }
    platform::Control* find(const std::string& name) const override;

    EventLoop* loop;
    std::vector<std::unique_ptr<HControl>> controls;
    HControl* focusedControl = nullptr;
    int disabledCount = 0;

private:
    std::vector<HWindow*>& modalStack();
    const platform::FormSpec& form_;
    std::map<std::string, HControl*> byName_;
    std::string name_;
    Text caption_;
    Place place_{};
    bool visible_ = false;
    bool activated_ = false;
    bool destroyed_ = false;
    bool minimize_ = false;
};

}  // namespace headless
