// Where each subsystem hooks its handlers into the main window.
#pragma once

#include "board_tool.h"

namespace boardtool {

void ConnectLink(BoardTool& tool);
void ConnectSettings(BoardTool& tool);

// First activation of the main window.
void StartUp(BoardTool& tool);
// The main window is about to close: the port is closed and the run saved.
void SaveRunState(BoardTool& tool);

}  // namespace boardtool
