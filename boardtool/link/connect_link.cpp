// Handlers of the link subsystem on the main window.
#include "connect.h"
#include "connection_report.h"
#include "polling.h"
#include "port_scan.h"
#include "reply_processing.h"
#include "serial_link.h"

namespace boardtool {

void ConnectLink(BoardTool& tool) {
    tool.PortCombo.DroppingDown = [&tool] { ScanPorts(tool); };
    tool.OpenButton.Clicked = [&tool] { OpenButtonClicked(tool); };
    tool.DetectTimer.Elapsed = [&tool] { ConnectionReport(tool); };
    tool.PollTimer.Elapsed = [&tool] { Poll(tool); };
    tool.ResetTestButton.Clicked = [&tool] { ResetTest(tool); };
    tool.BoardPort->DataArrived = [&tool](int byte) { ByteArrived(tool, byte); };
}

}  // namespace boardtool
