// The list of usable serial ports, rebuilt whenever PortCombo drops down.
#pragma once

#include "board_tool.h"

namespace boardtool {

inline constexpr int ScannedPorts = 100;

// Tries ports 1 to 100 and lists those that open.
void ScanPorts(BoardTool& tool);

}  // namespace boardtool
