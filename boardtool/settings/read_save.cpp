#include "read_save.h"

#include "../link/board_protocol.h"
#include "../link/polling.h"

namespace boardtool {

void ReadSettings(BoardTool& tool) {
    tool.StatusLabel.setText(" ");
    tool.PollTimer.setPeriod(0);
    tool.ui.sleep(10);
    SendCommand(tool, ReadSettingsCommand);
    tool.StatusTicks = -1;
    tool.StatusLabel.setText(NoCommunicationWarning);
    tool.ui.sleep(10);
    tool.PollTimer.setPeriod(200);
    Poll(tool);
}

}  // namespace boardtool
