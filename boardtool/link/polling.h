// The poll of PollTimer and the communication test.
#pragma once

#include "board_tool.h"

namespace boardtool {

// Sends the poll command and updates the sent and error counts and the
// elapsed time. Also run directly by the board commands after sending.
void Poll(BoardTool& tool);
// "清空重计": clears the received lines and restarts the test.
void ResetTest(BoardTool& tool);

}  // namespace boardtool
