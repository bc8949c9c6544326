// The capacity list follows the decimal-places setting.
#pragma once

#include "../link/board_tool.h"

namespace boardtool {

// Texts of the capacity list, one row per decimal-places position.
extern const char* const CapacityTable[5][8];

// Replaces the capacity texts by the row of the selected decimal places;
// values and the selected capacity stay. Nothing changes without a selection.
void RelabelCapacities(BoardTool& tool);

}  // namespace boardtool
