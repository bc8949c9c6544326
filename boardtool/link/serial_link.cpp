#include "serial_link.h"

#include <cmath>

#include "../settings/firmware.h"
#include "../settings/read_save.h"
#include "numbers.h"
#include "polling.h"

namespace boardtool {

void EnablePortGroups(BoardTool& tool, bool on) {
    tool.CalibrationGroup.setEnabled(on);
    tool.SettingsGroup.setEnabled(on);
    tool.WeightGroup.setEnabled(on);
    tool.VersionGroup.setEnabled(on);
    tool.TestGroup.setEnabled(on);
}

void OpenButtonClicked(BoardTool& tool) {
    tool.StatusLabel.setText(" >>>");
    if (tool.OpenButton.text() != "打开") {
        tool.PortCombo.setEnabled(true);
        tool.PcBaudCombo.setEnabled(true);
        EnablePortGroups(tool, false);
        tool.OpenButton.setText("打开");
        tool.ui.pumpFor(100);
        tool.BoardPort->close();
        tool.PollTimer.setPeriod(0);
        return;
    }

    tool.BoardPort->close();
    tool.BoardPort->setBaudRate(static_cast<int>(std::trunc(NumericValue(tool.PcBaudCombo.selectedText()))));
    int selected = tool.PortCombo.selected();
    tool.BoardPort->setPortNumber(selected < 0 ? -1 : tool.PortCombo.itemValue(selected));
    tool.PortOpened = 0;
    tool.SettingsReceived = 0;
    tool.OpenAttempts += 1;
    tool.DetectLog.setText("");
    tool.DetectTimer.setPeriod(500);
    tool.GoodCount = 0;
    tool.SentCount = 0;
    tool.TestStart = tool.clock.dateTimeSeconds();

    if (tool.BoardPort->open() == 1) {
        tool.PollTimer.setPeriod(200);
        tool.PortCombo.setEnabled(false);
        tool.PcBaudCombo.setEnabled(false);
        EnablePortGroups(tool, true);
        tool.OpenButton.setText("关闭");
        tool.StatusLabel.setText(NoCommunicationWarning);
        tool.PortOpened = 1;
        RequestFirmwareVersion(tool);
        ReadSettings(tool);
        ResetTest(tool);
    } else {
        tool.PortCombo.setEnabled(true);
        tool.PcBaudCombo.setEnabled(true);
        EnablePortGroups(tool, false);
        tool.OpenButton.setText("打开");
        tool.PortOpened = 0;
        tool.showMessage("端口无法打开，请重新选择端口！", "错误", platform::Icon::Information);
    }
}

}  // namespace boardtool
