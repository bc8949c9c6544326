// A small program that shows each kind of control the end-to-end checks
// drive: Chinese texts, a pick, a click, a message box, a timer, a group
// box, a serial port ("--serial N" opens COM N at start).
#include <string>

#include "platform/entry.h"

using namespace platform;

namespace {

const FormSpec SampleForm{
    "SampleWindow", "示例窗口", {60, 60, 460, 560}, MinimizeButton,
    {
        {"TitleLabel", Kind::Label, "", {12, 10, 420, 28}, "欢迎使用称重板测试工具", {"宋体", 20, true}},
        {"ChoiceCombo", Kind::ComboBox, "", {12, 48, 160, 24}, "", {}, 0,
         {{"甲方案", 11}, {"乙方案", 22}, {"丙方案", 33}}},
        {"NameEdit", Kind::Edit, "", {184, 48, 150, 24}, "张三", {}, 0, {}, 16},
        {"OptionCheck", Kind::CheckBox, "", {12, 82, 160, 24}, "启用选项"},
        {"GoButton", Kind::Button, "", {184, 80, 80, 28}, "确定"},
        {"AskButton", Kind::Button, "", {274, 80, 80, 28}, "提问"},
        {"ResultLabel", Kind::Label, "", {12, 118, 420, 24}, "尚未点击", {"黑体", 16, true}},
        {"TickLabel", Kind::Label, "", {12, 146, 200, 20}, "计时：0"},
        {"SampleGroup", Kind::GroupBox, "", {12, 172, 200, 70}, "分组"},
        {"GroupButton", Kind::Button, "SampleGroup", {12, 24, 120, 30}, "组内按钮"},
        {"ToggleGroupButton", Kind::Button, "", {224, 190, 120, 30}, "切换分组"},
        {"PortLabel", Kind::Label, "", {12, 252, 300, 20}, "端口未打开"},
        {"SendButton", Kind::Button, "", {320, 248, 100, 28}, "发送"},
        {"RxMemo", Kind::Memo, "", {12, 282, 420, 90}, ""},
        {"SampleTabs", Kind::TabControl, "", {12, 382, 300, 120}, ""},
        {"FirstPage", Kind::TabPage, "SampleTabs", {4, 28, 292, 88}, "第一页"},
        {"FirstPageLabel", Kind::Label, "FirstPage", {8, 8, 200, 20}, "这是第一页"},
        {"SecondPage", Kind::TabPage, "SampleTabs", {4, 28, 292, 88}, "第二页"},
        {"SecondPageLabel", Kind::Label, "SecondPage", {8, 8, 200, 20}, "这是第二页"},
        {"SampleProgress", Kind::ProgressBar, "SecondPage", {8, 40, 200, 20}, ""},
        {"NextPageButton", Kind::Button, "", {320, 390, 110, 28}, "下一页"},
        {"ModalButton", Kind::Button, "", {320, 430, 110, 28}, "对话框"},
        {"SleepButton", Kind::Button, "", {320, 470, 110, 28}, "暂停"},
        {"SleepLabel", Kind::Label, "", {12, 508, 300, 20}, ""},
        {"TickTimer", Kind::Timer, "", {}, ""},
    }};

const FormSpec DialogForm{
    "SampleDialog", "对话框", {140, 160, 260, 150}, FixedSize | WindowHidden,
    {
        {"DialogLabel", Kind::Label, "", {12, 12, 220, 24}, "模态对话框"},
        {"DialogCloseButton", Kind::Button, "", {70, 50, 100, 30}, "关闭"},
    }};

struct Sample {
    Services& s;
    Window& w;
    std::unique_ptr<SerialPort> port;
    int ticks = 0;
    int received = 0;

    Sample(Services& services, Window& window) : s(services), w(window), port(s.createSerialPort()) {}

    void wire() {
        auto& combo = w.get<ComboBox>("ChoiceCombo");
        auto& result = w.get<Label>("ResultLabel");
        combo.Picked = [&] {
            result.setText("已选：" + combo.selectedText() + "（" + std::to_string(combo.itemValue(combo.selected())) + "）");
        };
        w.get<Button>("GoButton").Clicked = [&] {
            bool on = w.get<CheckBox>("OptionCheck").checked();
            result.setText("你好，" + w.get<Edit>("NameEdit").text() + (on ? "，选项开" : "，选项关"));
            result.setTextColor(Rgb(200, 0, 0));
        };
        w.get<Button>("AskButton").Clicked = [&] {
            Answer a = s.ui().messageBox(&w, "是否继续？", "询问", Icon::Question, Buttons::YesNo, 1);
            result.setText(a == Answer::Yes ? "回答：是" : "回答：否");
        };
        // '#' is never typed into the name.
        w.get<Edit>("NameEdit").KeyPressed = [](int key) { return key == '#'; };
        w.get<Button>("ToggleGroupButton").Clicked = [&] {
            auto& g = w.get<GroupBox>("SampleGroup");
            g.setEnabled(!g.enabled());
        };
        auto& timer = w.get<Timer>("TickTimer");
        timer.Elapsed = [&] {
            ++ticks;
            w.get<Label>("TickLabel").setText("计时：" + std::to_string(ticks));
            if (ticks >= 3) timer.setPeriod(0);
        };
        // A blocking pause: bytes that come meanwhile wait until it is over.
        w.get<Button>("SleepButton").Clicked = [&] {
            int before = received;
            s.ui().sleep(1500);
            w.get<Label>("SleepLabel").setText("暂停中收到：" + std::to_string(received - before));
        };
        port->DataArrived = [&](int byte) {
            ++received;
            w.get<Edit>("RxMemo").append(std::string(1, static_cast<char>(byte)));
        };
        w.get<Button>("SendButton").Clicked = [&] { port->send("PING\r\n"); };
        w.get<Button>("NextPageButton").Clicked = [&] {
            auto& tabs = w.get<TabControl>("SampleTabs");
            tabs.setPage((tabs.page() + 1) % tabs.pageCount());
            w.get<ProgressBar>("SampleProgress").setPosition(60);
        };
        w.get<Button>("ModalButton").Clicked = [&] {
            Window& d = s.ui().createWindow(DialogForm);
            d.get<Button>("DialogCloseButton").Clicked = [&d] { d.destroy(); };
            d.showModal(&w);
            w.get<Label>("ResultLabel").setText("对话框已关闭");
        };
        w.FirstActivated = [&] {
            w.get<Label>("TitleLabel").setGradient(1, Rgb(255, 255, 255), Rgb(200, 220, 255), Rgb(255, 255, 255));
            timer.setPeriod(100);
            openPortFromArguments();
        };
    }

    void openPortFromArguments() {
        std::vector<Text> args = s.processes().arguments();
        for (size_t i = 0; i + 1 < args.size(); ++i)
            if (args[i] == "--serial") {
                int n = std::atoi(args[i + 1].c_str());
                port->setPortNumber(n);
                port->setBaudRate(9600);
                bool ok = port->open() == 1;
                w.get<Label>("PortLabel").setText("COM" + std::to_string(n) + (ok ? " 已打开" : " 打开失败"));
                if (ok) port->send("HELLO\r\n");
            }
    }
};

int SampleMain(Services& s) {
    // "--style N" dresses the window in visual style N.
    std::vector<Text> args = s.processes().arguments();
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--style") s.ui().setVisualStyle(std::atoi(args[i + 1].c_str()));
    Window& w = s.ui().createWindow(SampleForm);
    Sample sample(s, w);
    sample.wire();
    s.ui().runUntilDestroyed(w);
    sample.port->close();
    return 0;
}

}  // namespace

PLATFORM_PROGRAM(SampleMain)
