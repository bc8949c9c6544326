#include "read_save.h"

#include <cmath>

#include "../link/board_protocol.h"
#include "../link/numbers.h"
#include "../link/polling.h"
#include "../link/serial_link.h"

namespace boardtool {

using platform::ComboBox;

void ReadSettings(BoardTool& tool) {
    tool.StatusLabel.setText(" ");
    tool.PollTimer.setPeriod(0);
    tool.ui.sleep(10);
    SendCommand(tool, ReadSettingsCommand);
    tool.StatusTicks = -1;
    tool.StatusLabel.setText(NoCommunicationWarning);
    tool.ui.sleep(10);
    tool.PollTimer.setPeriod(200);
    Poll(tool);
}

namespace {

constexpr int OpenAttempts = 5;

struct SettingList {
    ComboBox& combo;
    const char* missing;  // what the operator is told when nothing is selected
};

// The seven lists in the order of the save command.
std::array<SettingList, 7> SettingLists(BoardTool& tool) {
    return {{
        {tool.BoardBaudCombo, "请先选择通讯波特率，再保存设置！"},
        {tool.TransmitModeCombo, "通讯方式未知，请先读取设置，再保存设置！"},
        {tool.ProtocolCombo, "请先选择通讯协议，再保存设置！"},
        {tool.ZeroTrackCombo, "请先选择零点跟踪，再保存设置！"},
        {tool.DecimalsCombo, "请先选择小数点位置，再保存设置！"},
        {tool.CapacityCombo, "请先选择最大称量，再保存设置！"},
        {tool.DivisionCombo, "请先选择显示分度值，再保存设置！"},
    }};
}

// Re-opens the port, up to five times; true when one open succeeded.
bool ReopenPort(BoardTool& tool) {
    for (int attempt = 1; attempt <= OpenAttempts; ++attempt) {
        if (tool.BoardPort->open() == 1) return true;
        tool.ui.sleep(20);
        tool.BoardPort->close();
        tool.ui.sleep(20);
    }
    return false;
}

}  // namespace

void SaveSettings(BoardTool& tool) {
    // A list without a selection has no position to send; nothing goes out
    // and polling carries on.
    for (const SettingList& list : SettingLists(tool))
        if (list.combo.selected() < 0) return tool.showMessage(list.missing);

    tool.StatusLabel.setText(" ");
    tool.PollTimer.setPeriod(0);
    tool.ui.sleep(50);
    for (int copy = 0; copy < 2; ++copy) {
        tool.ui.sleep(50);
        std::array<int, 7> positions{};
        std::array<SettingList, 7> lists = SettingLists(tool);
        for (size_t i = 0; i < lists.size(); ++i) positions[i] = lists[i].combo.selected();
        SendCommand(tool, SaveSettingsCommand(positions));
    }
    tool.ui.sleep(10);

    // The PC side follows the rate just sent to the board.
    tool.PcBaudCombo.select(tool.BoardBaudCombo.selected());
    tool.BoardPort->setBaudRate(static_cast<int>(std::trunc(NumericValue(tool.PcBaudCombo.selectedText()))));
    int port = tool.PortCombo.selected();
    tool.BoardPort->setPortNumber(port < 0 ? -1 : tool.PortCombo.itemValue(port));
    tool.ui.sleep(10);

    if (!ReopenPort(tool)) {
        // The window must not go on claiming an open port: it returns to
        // the closed state and says so, as a failed open does.
        if (tool.OpenButton.text() == "关闭") OpenButtonClicked(tool);
        tool.showMessage("端口无法打开，请重新选择端口！", "错误", platform::Icon::Information);
        return;
    }

    tool.StatusTicks = -1;
    tool.StatusLabel.setText(NoCommunicationWarning);
    tool.ui.sleep(10);
    tool.PollTimer.setPeriod(200);
    Poll(tool);
}

}  // namespace boardtool
