// Reading the board's settings into the lists and saving them to the board.
#pragma once

#include "../link/board_tool.h"

namespace boardtool {

// "读取设置": asks the board for its settings ("R1"); also run at every open.
void ReadSettings(BoardTool& tool);
// "保存设置": sends the seven selected positions twice, then re-opens the PC
// side of the line at the board baud rate just sent.
void SaveSettings(BoardTool& tool);

}  // namespace boardtool
