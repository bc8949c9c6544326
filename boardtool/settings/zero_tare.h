// Zero, tare and clear tare, and the internal-code view of the raw readings.
#pragma once

#include "../link/board_tool.h"

namespace boardtool {

// "去皮": "T3" to the board; in internal-code mode the offset takes the last
// raw reading instead.
void Tare(BoardTool& tool);
// "置零": "Z4" to the board; in internal-code mode as tare.
void Zero(BoardTool& tool);
// "清皮重": "Q7" to the board; in internal-code mode the offset goes back to 0.
void ClearTare(BoardTool& tool);
// "内码模式" switched either way: minimum and maximum start again.
void InternalCodeSwitched(BoardTool& tool);

}  // namespace boardtool
