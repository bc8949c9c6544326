// The connection report that DetectTimer writes into DetectLog half a
// second after every open attempt.
#pragma once

#include "board_tool.h"

namespace boardtool {

// Pause after each line of the report; events keep running meanwhile.
inline constexpr int ReportLinePause = 250;

void ConnectionReport(BoardTool& tool);

// The last n bytes of a text, less when the cut would split a double-byte
// character.
Text LastBytes(const Text& text, size_t n);

}  // namespace boardtool
