// Opening and closing the link with OpenButton.
#pragma once

#include "board_tool.h"

namespace boardtool {

// "打开" opens the selected port and starts polling; "关闭" closes it.
void OpenButtonClicked(BoardTool& tool);
// Enables or disables the five groups that need an open port.
void EnablePortGroups(BoardTool& tool, bool on);

}  // namespace boardtool
