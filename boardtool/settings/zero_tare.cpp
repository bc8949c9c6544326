#include "zero_tare.h"

#include "../link/board_protocol.h"

namespace boardtool {

namespace {

// Blanks the weight until the board reports again, then sends the command
// with polling stopped around it.
void SendWeighingCommand(BoardTool& tool, const Text& blank, const char* command) {
    tool.WeightDisplay.setText(blank);
    tool.PollTimer.setPeriod(0);
    tool.ui.sleep(10);
    tool.ui.sleep(10);
    SendCommand(tool, command);
    tool.ui.sleep(200);
    tool.PollTimer.setPeriod(200);
}

const Text EightHyphens = "--------";
const Text NineHyphens = "---------";

}  // namespace

void Tare(BoardTool& tool) {
    if (tool.InternalCodeCheck.checked())
        tool.InternalCodeOffset = tool.LastInternalCode;
    else
        SendWeighingCommand(tool, NineHyphens, TareCommand);
}

void Zero(BoardTool& tool) {
    if (tool.InternalCodeCheck.checked())
        tool.InternalCodeOffset = tool.LastInternalCode;
    else
        SendWeighingCommand(tool, EightHyphens, ZeroCommand);
}

void ClearTare(BoardTool& tool) {
    if (tool.InternalCodeCheck.checked())
        tool.InternalCodeOffset = 0;
    else
        SendWeighingCommand(tool, NineHyphens, ClearTareCommand);
}

void InternalCodeSwitched(BoardTool& tool) {
    tool.MinWeight = 999999.0f;
    tool.MaxWeight = -999999.0f;
}

}  // namespace boardtool
