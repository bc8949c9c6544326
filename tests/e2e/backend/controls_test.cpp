// The Windows backend's windows, controls, timers, pauses and message boxes
// on real Win32 controls, checked through the interfaces and the controls'
// own window state.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

#include "backend_fixture.h"

using namespace platform;

namespace {

const FormSpec TestForm{
    "TestWindow", "测试窗口", {40, 40, 420, 380}, 0,
    {
        {"Choice", Kind::ComboBox, "", {10, 10, 120, 24}, "", {}, 0, {{"一", 1}, {"二", 2}, {"三", 3}}},
        {"Number", Kind::Edit, "", {140, 10, 80, 24}, "", {}, DecimalInput},
        {"Name", Kind::Edit, "", {230, 10, 80, 24}, "", {}, PasswordMask, {}, 4},
        {"Log", Kind::Memo, "", {10, 40, 300, 60}, ""},
        {"Group", Kind::GroupBox, "", {10, 110, 200, 80}, "分组"},
        {"Inner", Kind::Button, "Group", {10, 20, 80, 24}, "组内"},
        {"InnerOff", Kind::Button, "Group", {100, 20, 80, 24}, "关", {}, Disabled},
        {"Tabs", Kind::TabControl, "", {220, 110, 180, 100}, ""},
        {"PageA", Kind::TabPage, "Tabs", {4, 26, 170, 70}, "甲"},
        {"OnA", Kind::Label, "PageA", {4, 4, 100, 20}, "甲页"},
        {"PageB", Kind::TabPage, "Tabs", {4, 26, 170, 70}, "乙"},
        {"OnB", Kind::Label, "PageB", {4, 4, 100, 20}, "乙页"},
        {"Paint", Kind::Canvas, "", {10, 220, 100, 60}, ""},
        {"Tick", Kind::Timer, "", {}, ""},
    }};

HWND ControlWindow(Window& w, const char* name) {
    struct Find {
        std::wstring want;
        HWND found = nullptr;
    } f;
    for (const char* p = name; *p; ++p) f.want += static_cast<wchar_t>(*p);
    EnumChildWindows(
        reinterpret_cast<HWND>(w.handle()),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, L"BoardSuiteName")));
            wchar_t buf[64] = L"";
            if (atom) GlobalGetAtomNameW(atom, buf, 64);
            if (f->want == buf) f->found = h;
            return f->found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

class Controls : public Backend {
protected:
    void SetUp() override { w = &s->ui().createWindow(TestForm); }
    void TearDown() override {
        if (!w->destroyed()) w->destroy();
    }
    // What a user's key press sends to an edit box.
    void Type(const char* edit, const wchar_t* text) {
        for (const wchar_t* p = text; *p; ++p) SendMessageW(ControlWindow(*w, edit), WM_CHAR, *p, 1);
    }
    void UserPick(const char* combo, int index) {
        HWND c = ControlWindow(*w, combo);
        SendMessageW(c, CB_SETCURSEL, index, 0);
        SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(c));
    }
    Window* w = nullptr;
};

TEST_F(Controls, ComboSelectionRuleRaisesNoUserEvent) {
    auto& c = w->get<ComboBox>("Choice");
    int picked = 0;
    c.Picked = [&] { ++picked; };
    EXPECT_EQ(c.selected(), -1);
    c.select(7);  // past the end: the last entry
    EXPECT_EQ(c.selected(), 2);
    EXPECT_EQ(c.text(), "三");
    c.select(-3);
    EXPECT_EQ(c.selected(), -1);
    c.select(1);
    c.insertItem(0, "零", 0);  // the selected entry moves with its position
    EXPECT_EQ(c.selected(), 2);
    EXPECT_EQ(c.selectedText(), "二");
    c.insertItem(99, "末", 9);
    EXPECT_EQ(c.itemText(4), "末");
    EXPECT_EQ(c.itemValue(4), 9);
    c.setItemText(2, "贰");
    EXPECT_EQ(c.selected(), 2);
    EXPECT_EQ(c.itemValue(2), 2);
    c.deleteItem(42);
    EXPECT_EQ(c.count(), 5);
    c.deleteItem(2);
    EXPECT_EQ(c.selected(), -1);
    EXPECT_EQ(picked, 0);
    UserPick("Choice", 1);
    EXPECT_EQ(picked, 1);
    EXPECT_EQ(c.selectedText(), "一");
    c.clear();
    EXPECT_EQ(c.count(), 0);
    EXPECT_EQ(c.selected(), -1);
}

TEST_F(Controls, TypingGoesThroughKeyHandlerAndInputRules) {
    auto& number = w->get<Edit>("Number");
    int changed = 0;
    number.Changed = [&] { ++changed; };
    number.KeyPressed = [](int key) { return key == '5'; };  // swallowed
    Type("Number", L"1a.5-x2");
    EXPECT_EQ(number.text(), "1.-2");
    EXPECT_EQ(changed, 4);
    number.setText("77");
    EXPECT_EQ(changed, 4);  // the program's own change is no user event

    // The limit counts GBK bytes: two Chinese characters fill four.
    auto& name = w->get<Edit>("Name");
    EXPECT_EQ(name.maxLength(), 4);
    Type("Name", L"称重板");
    EXPECT_EQ(name.text(), "称重");
    EXPECT_EQ(SendMessageW(ControlWindow(*w, "Name"), EM_GETPASSWORDCHAR, 0, 0), L'*');
}

TEST_F(Controls, MemoAppendsAndScrollsToTheEnd) {
    auto& log = w->get<Edit>("Log");
    Text all;
    for (int i = 0; i < 30; ++i) {
        Text line = "第" + std::to_string(i) + "行\r\n";
        log.append(line);
        all += line;
    }
    EXPECT_EQ(log.text(), all);
    EXPECT_GT(SendMessageW(ControlWindow(*w, "Log"), EM_GETFIRSTVISIBLELINE, 0, 0), 20);
}

// Past the system's default limit of 32767 characters the box still takes
// every append, keeping its newest whole lines.
TEST_F(Controls, LongLogKeepsItsNewestLines) {
    auto& log = w->get<Edit>("Log");
    for (int i = 0; i < 5000; ++i) log.append(std::to_string(100000 + i) + "kg \r\n");
    Text t = log.text();
    EXPECT_LE(t.size(), platform::MemoKeepLimit);
    EXPECT_EQ(t.substr(t.size() - 11), "104999kg \r\n");
    EXPECT_EQ(t.find("kg \r\n"), 6u);  // a whole line first
    EXPECT_GT(SendMessageW(ControlWindow(*w, "Log"), EM_GETFIRSTVISIBLELINE, 0, 0), 1000);
}

TEST_F(Controls, GroupBoxDisablesItsChildren) {
    auto& group = w->get<GroupBox>("Group");
    auto& inner = w->get<Button>("Inner");
    HWND innerH = ControlWindow(*w, "Inner");
    EXPECT_TRUE(IsWindowEnabled(innerH));
    group.setEnabled(false);
    EXPECT_TRUE(inner.enabled());
    EXPECT_FALSE(inner.usable());
    EXPECT_FALSE(IsWindowEnabled(innerH));
    group.setEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(innerH));
    // A child disabled of its own stays disabled with its group enabled.
    EXPECT_FALSE(IsWindowEnabled(ControlWindow(*w, "InnerOff")));
}

TEST_F(Controls, TabPagesShowOnlyTheCurrentPage) {
    auto& tabs = w->get<TabControl>("Tabs");
    EXPECT_EQ(tabs.pageCount(), 2);
    EXPECT_TRUE(IsWindowVisible(ControlWindow(*w, "OnA")));
    EXPECT_FALSE(IsWindowVisible(ControlWindow(*w, "OnB")));
    tabs.setPage(1);
    EXPECT_FALSE(IsWindowVisible(ControlWindow(*w, "OnA")));
    EXPECT_TRUE(IsWindowVisible(ControlWindow(*w, "OnB")));
    EXPECT_EQ(SendMessageW(ControlWindow(*w, "Tabs"), TCM_GETCURSEL, 0, 0), 1);
}

TEST_F(Controls, TimersRunInPumpingPausesOnly) {
    auto& t = w->get<Timer>("Tick");
    int ticks = 0;
    t.Elapsed = [&] { ++ticks; };
    t.setPeriod(20);
    s->ui().sleep(150);
    EXPECT_EQ(ticks, 0);  // nothing is dispatched in a blocking pause
    s->ui().processEvents();
    EXPECT_EQ(ticks, 1);  // the tick that became due meanwhile
    s->ui().pumpFor(400);
    EXPECT_GE(ticks, 3);
    t.setPeriod(0);
    int stopped = ticks;
    s->ui().pumpFor(100);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(Controls, WindowEvents) {
    int first = 0, destroying = 0;
    bool mayClose = false;
    w->FirstActivated = [&] { ++first; };
    w->CloseQuery = [&] { return mayClose; };
    w->Destroying = [&] { ++destroying; };
    Size reported;
    w->SizeChanged = [&](int width, int height) { reported = {width, height}; };
    s->ui().processEvents();
    w->hide();
    w->show();
    s->ui().processEvents();
    EXPECT_EQ(first, 1);
    w->setPlace({40, 40, 500, 400});
    EXPECT_EQ(reported, w->clientSize());
    EXPECT_EQ(w->caption(), "测试窗口");
    SendMessageW(reinterpret_cast<HWND>(w->handle()), WM_CLOSE, 0, 0);  // the close box
    EXPECT_FALSE(w->destroyed());
    mayClose = true;
    w->close();
    EXPECT_TRUE(w->destroyed());
    EXPECT_EQ(destroying, 1);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(w->handle())));
}

TEST_F(Controls, IdleRunsWhenTheQueueIsEmpty) {
    int idle = 0;
    w->Idle = [&] {
        if (++idle == 2) w->destroy();
    };
    w->get<Timer>("Tick").setPeriod(10);
    w->get<Timer>("Tick").Elapsed = [] {};
    s->ui().runUntilDestroyed(*w);
    EXPECT_EQ(idle, 2);
}

TEST_F(Controls, CanvasMeasuresPictures) {
    // A 3 x 2 bitmap, 24 bits.
    std::string bmp(54 + 2 * 12, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put32(2, static_cast<uint32_t>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 3);
    put32(22, 2);
    bmp[26] = 1, bmp[28] = 24;
    auto& canvas = w->get<Canvas>("Paint");
    EXPECT_EQ(canvas.measurePicture(bmp), (Size{3, 2}));
    EXPECT_EQ(canvas.measurePicture("not a picture"), std::nullopt);
    canvas.drawText(2, 2, "画");
    canvas.repaint();
}

TEST_F(Controls, MessageBoxAnswersWithTheButtonPressed) {
    std::atomic<bool> sawDefaultNo{false};
    std::thread user([&] {
        HWND box = nullptr;
        for (int i = 0; i < 200 && !box; ++i, Sleep(25)) box = FindWindowW(L"#32770", L"问题");
        if (!box) return;
        HWND no = GetDlgItem(box, IDNO);
        sawDefaultNo = (GetWindowLongW(no, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        PostMessageW(no, BM_CLICK, 0, 0);
    });
    Answer a = s->ui().messageBox(w, "继续吗？", "问题", Icon::Question, Buttons::YesNo, 1);
    user.join();
    EXPECT_EQ(a, Answer::No);
    EXPECT_TRUE(sawDefaultNo);
}

TEST_F(Controls, MissingSerialPortDoesNotOpen) {
    auto port = s->createSerialPort();
    port->setPortNumber(250);
    EXPECT_EQ(port->open(), 0);
    EXPECT_FALSE(port->isOpen());
    EXPECT_FALSE(port->send("P0\r\n"));
    port->close();
}

TEST_F(Controls, VisualStyleNumbers) {
    s->ui().setVisualStyle(2);
    EXPECT_EQ(s->ui().visualStyle(), 2);
    s->ui().setVisualStyle(7);
    EXPECT_EQ(s->ui().visualStyle(), 7);
    s->ui().setVisualStyle(0);
}

}  // namespace
