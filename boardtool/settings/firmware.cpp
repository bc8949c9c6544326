#include "firmware.h"

#include "../link/board_protocol.h"

namespace boardtool {

void RequestFirmwareVersion(BoardTool& tool) {
    tool.PollTimer.setPeriod(0);
    tool.ui.sleep(10);
    tool.FirmwarePrefix.clear();
    tool.ui.sleep(10);
    SendCommand(tool, VersionCommand);
    tool.ui.sleep(200);
    tool.PollTimer.setPeriod(200);
}

}  // namespace boardtool
