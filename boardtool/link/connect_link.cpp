// Handlers of the link subsystem on the main window.
#include "connect.h"
#include "polling.h"
#include "serial_link.h"

namespace boardtool {

void ConnectLink(BoardTool& tool) {
    tool.OpenButton.Clicked = [&tool] { OpenButtonClicked(tool); };
    tool.PollTimer.Elapsed = [&tool] { Poll(tool); };
    tool.ResetTestButton.Clicked = [&tool] { ResetTest(tool); };
}

}  // namespace boardtool
