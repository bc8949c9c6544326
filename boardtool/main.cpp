#include "link/board_tool.h"
#include "platform/entry.h"

PLATFORM_PROGRAM(boardtool::BoardToolMain)
