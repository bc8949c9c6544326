// Handlers of the settings subsystem on the main window.
#include "../link/connect.h"
#include "capacity.h"

namespace boardtool {

void ConnectSettings(BoardTool& tool) {
    tool.DecimalsCombo.Picked = [&tool] { RelabelCapacities(tool); };
    tool.DecimalsCombo.ClosedUp = [&tool] { RelabelCapacities(tool); };
}

}  // namespace boardtool
