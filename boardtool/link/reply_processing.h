// The receiving side: every byte from the board goes through FrameWindow,
// and every completed frame turns into effects on the main window.
#pragma once

#include "board_tool.h"

namespace boardtool {

// Data arrival of BoardPort: one received byte, 0 to 255.
void ByteArrived(BoardTool& tool, int byte);
// One whole frame, FrameWindow as it stands when its LF came in.
void ProcessFrame(BoardTool& tool);
// The activity marker of StatusLabel, advanced once per frame.
void StatusStep(BoardTool& tool);

// x rounded to the given decimal places, halves away from zero.
double RoundHalfAway(double x, int places);

}  // namespace boardtool
