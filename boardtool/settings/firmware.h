// Firmware version, firmware upgrade and the advanced permission.
#pragma once

#include "../link/board_tool.h"

namespace boardtool {

// Asks the board for its firmware version ("V6"); run at every open.
void RequestFirmwareVersion(BoardTool& tool);

}  // namespace boardtool
