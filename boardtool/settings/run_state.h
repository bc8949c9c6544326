// port.ini: what the window showed at the last exit, one value per line.
#pragma once

#include "../link/board_tool.h"

namespace boardtool {

Text RunStatePath(const BoardTool& tool);
// Restores the lists and the calibration weight from port.ini, or applies
// the factory defaults when the file is missing or not ours.
void RestoreRunState(BoardTool& tool);
// The eleven lines of the file for what the window shows now.
std::string RunStateText(const BoardTool& tool);

}  // namespace boardtool
