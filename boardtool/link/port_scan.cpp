#include "port_scan.h"

namespace boardtool {

void ScanPorts(BoardTool& tool) {
    int previous = tool.PortCombo.selected();
    tool.BoardPort->close();
    tool.PortCombo.clear();

    int found = 0;
    for (int n = 1; n <= ScannedPorts; ++n) {
        tool.BoardPort->setPortNumber(n);
        tool.BoardPort->setBaudRate(1200);
        if (tool.BoardPort->open() == 1) {
            tool.PortCombo.addItem("COM" + std::to_string(n), n);
            tool.BoardPort->close();
            ++found;
        }
    }

    if (found > 0) {
        if (previous == -1)
            tool.PortCombo.select(-1);
        else
            tool.PortCombo.select(previous >= 0 && previous < found ? previous : 0);
        tool.DetectLog.setText("端口扫描完成，共找到" + std::to_string(found) + "个可用端口。");
    } else {
        tool.PortCombo.addItem("无端口", 0);
        tool.PortCombo.select(-1);
        tool.DetectLog.setText("端口扫描完成，未找到可用端口。");
    }
}

}  // namespace boardtool
