#include "link/board_tool.h"
#include "win32_loader.h"

PLATFORM_SHARED_PROGRAM(boardtool::BoardToolMain)
