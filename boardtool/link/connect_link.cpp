// Handlers of the link subsystem on the main window.
#include "connect.h"

namespace boardtool {

void ConnectLink(BoardTool& tool) { (void)tool; }

}  // namespace boardtool
