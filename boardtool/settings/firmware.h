// Firmware version, firmware upgrade and the advanced permission.
#pragma once

#include "../link/board_tool.h"

namespace boardtool {

// Asks the board for its firmware version ("V6"); run at every open.
void RequestFirmwareVersion(BoardTool& tool);
// "启动固件升级": behind the advanced permission, copies the upgrade program
// of the board's firmware beside the tool to UpgradeFolder, starts it and
// hands it the serial port.
void StartFirmwareUpgrade(BoardTool& tool);

}  // namespace boardtool
