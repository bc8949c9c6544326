#include "connection_report.h"

namespace boardtool {

namespace {

Text DecimalsValue(const BoardTool& tool) {
    int s = tool.DecimalsCombo.selected();
    return s < 0 ? Text() : std::to_string(tool.DecimalsCombo.itemValue(s));
}

// Writes the report line by line. Every line reads the window as it stands
// when it is written; events run in the pause after it. A newer open attempt
// made meanwhile has cleared the log for its own report, so this one stops.
class Report {
public:
    explicit Report(BoardTool& tool) : tool_(tool), attempt_(tool.OpenAttempts) {}
    bool line(const Text& text, bool pause = true) {
        if (tool_.OpenAttempts != attempt_) return false;
        tool_.DetectLog.append(text + "\r\n");
        if (pause) tool_.ui.pumpFor(ReportLinePause);
        return tool_.OpenAttempts == attempt_;
    }

private:
    BoardTool& tool_;
    int64_t attempt_;
};

void OpenFailed(BoardTool& tool, Report& r) {
    auto port = [&tool] { return tool.PortCombo.selectedText(); };
    r.line(">>>" + port() + "通讯端口打开失败；") &&
        r.line(">>>请检查" + port() + "通讯端口，可能有以下几种情况导至：") &&
        r.line("     1、通讯端口已被其他打开的程序或软件占用；") && r.line("     2、通讯端口选择错误；") &&
        r.line("     3、通讯端口物理损坏；", false);
}

void SettingsLines(BoardTool& tool, Report& r) {
    r.line(">>> 称重板通讯波特率配置为：" + tool.BoardBaudCombo.selectedText() + "bps；") &&
        r.line(">>>    称重板通讯方式配置为：" + tool.TransmitModeCombo.selectedText() + "；") &&
        r.line(">>>    称重板通讯协议配置为：" + tool.ProtocolCombo.selectedText() + "；") &&
        r.line(">>>    称重板最大量程配置为：" + tool.CapacityCombo.selectedText() + tool.UnitLabel.text() +
               "；") &&
        r.line(">>> 称重板小数点位数配置为：" + DecimalsValue(tool) + "位；") &&
        r.line(">>> 称重板显示分度值配置为：" + tool.DivisionCombo.selectedText() + "；") &&
        r.line(">>>    称重板零点跟踪配置为：" + tool.ZeroTrackCombo.selectedText() + "；") &&
        r.line(">>>         称重板固件版本为：" + LastBytes(tool.VersionButton.text(), 8) + "；");
}

void BoardSilent(Report& r) {
    r.line(">>>PC端与称重板通讯失败；") && r.line(">>>请检查以下几种情况：") &&
        r.line("     1、PC端通讯端口号选择错误；") &&
        r.line("     2、PC端通讯端口波特率与称重板设置的波特率不一至；") &&
        r.line("     3、PC端的通讯端口到称重板端的通讯线路连接异常；") &&
        r.line("     4、PC端的通讯端口物理损坏；") && r.line("     5、称重板端的通讯端口物理损坏；", false);
}

}  // namespace

Text LastBytes(const Text& text, size_t n) {
    if (text.size() <= n) return text;
    for (size_t start : platform::CharacterStarts(text))
        if (start >= text.size() - n) return text.substr(start);
    return Text();
}

void ConnectionReport(BoardTool& tool) {
    tool.DetectTimer.setPeriod(0);
    Report r(tool);
    if (tool.PortOpened != 1) return OpenFailed(tool, r);

    bool going = r.line(">>>PC端" + tool.PortCombo.selectedText() + "通讯端口打开成功；") &&
                 r.line(">>>PC端通讯波特率为" + tool.PcBaudCombo.selectedText() + "bps；");
    if (!going) return;
    if (tool.SettingsReceived == 1)
        SettingsLines(tool, r);
    else
        BoardSilent(r);
}

}  // namespace boardtool
