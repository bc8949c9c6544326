// The controls of the Windows backend, one class per kind.
#pragma once

#include "internal.h"
#include "picture_paint.h"

namespace win32 {

class W32Label : public W32Control, public platform::Label {
public:
    void setGradient(int mode, Color c1, Color c2, Color c3) override;
    int gradientMode() const override { return gradientMode_; }
    void setBackPicture(const std::string& bytes) override;
    const std::string& backPicture() const override { return picture_; }
    void draw(DRAWITEMSTRUCT* d) override;
    int gradientMode_ = 0;
    Color gradient[3] = {0, 0, 0};
    std::string picture_;
    std::unique_ptr<Picture> decoded_;
};

class W32Button : public W32Control, public platform::Button {
public:
    void command(int code) override;
};

class W32CheckBox : public W32Control, public platform::CheckBox {
public:
    bool checked() const override;
    void setChecked(bool on) override;
    void command(int code) override;
};

class W32RadioButton : public W32Control, public platform::RadioButton {
public:
    bool checked() const override;
    void setChecked(bool on) override;
    void command(int code) override;
};

class W32ComboBox : public W32Control, public platform::ComboBox {
public:
    int count() const override;
    void addItem(const Text& text, int32_t value) override;
    void insertItem(int pos, const Text& text, int32_t value) override;
    void deleteItem(int pos) override;
    void clear() override;
    Text itemText(int pos) const override;
    void setItemText(int pos, const Text& text) override;
    int32_t itemValue(int pos) const override;
    int selected() const override;
    void select(int pos) override;
    Text text() const override { return selectedText(); }
    void setText(const Text&) override {}  // a drop-down list shows its selection
    void command(int code) override;
};

class W32Edit : public W32Control, public platform::Edit {
public:
    void append(const Text& text) override;
    int maxLength() const override { return maxLength_; }
    void setText(const Text& t) override;
    void command(int code) override;
    // A character typed by the user; false swallows it.
    bool typing(wchar_t ch);
    int maxLength_ = 0;
    WNDPROC original = nullptr;
};

class W32GroupBox : public W32Control, public platform::GroupBox {};
class W32TabPage : public W32Control {};

class W32Shape : public W32Control, public platform::Shape {
public:
    void draw(DRAWITEMSTRUCT* d) override;
};

class W32TabControl : public W32Control, public platform::TabControl {
public:
    int page() const override { return page_; }
    void setPage(int index) override;
    int pageCount() const override;
    const W32Control* pageControl(int index) const;
    LRESULT notify(NMHDR* n) override;
    int page_ = 0;
};

class W32ProgressBar : public W32Control, public platform::ProgressBar {
public:
    int position() const override { return position_; }
    void setPosition(int pos) override;
    int position_ = 0;
};

class W32PictureBox : public W32Control, public platform::PictureBox {
public:
    void setPicture(const std::string& bytes) override;
    const std::string& picture() const override { return picture_; }
    void draw(DRAWITEMSTRUCT* d) override;
    std::string picture_;
    std::unique_ptr<Picture> decoded_;
};

class W32Canvas : public W32Control, public platform::Canvas {
public:
    void drawText(int x, int y, const Text& text) override;
    void clearDrawing() override;
    std::optional<platform::Size> measurePicture(const std::string& bytes) override;
    void draw(DRAWITEMSTRUCT* d) override;
    struct Drawn {
        int x, y;
        Text text;
    };
    std::vector<Drawn> drawn;
};

class W32Timer : public W32Control, public platform::Timer {
public:
    ~W32Timer() override;
    int period() const override { return period_; }
    void setPeriod(int milliseconds) override;
    void elapsed();
    int period_ = 0;
};

}  // namespace win32
