// Handlers of the settings subsystem on the main window.
#include "../link/connect.h"
#include "calibration.h"
#include "capacity.h"
#include "firmware.h"
#include "read_save.h"
#include "zero_tare.h"

namespace boardtool {

void ConnectSettings(BoardTool& tool) {
    tool.DecimalsCombo.Picked = [&tool] { RelabelCapacities(tool); };
    tool.DecimalsCombo.ClosedUp = [&tool] { RelabelCapacities(tool); };
    tool.ReadSettingsButton.Clicked = [&tool] { ReadSettings(tool); };
    tool.SaveSettingsButton.Clicked = [&tool] { SaveSettings(tool); };
    tool.TareButton.Clicked = [&tool] { Tare(tool); };
    tool.ZeroButton.Clicked = [&tool] { Zero(tool); };
    tool.ClearTareButton.Clicked = [&tool] { ClearTare(tool); };
    tool.InternalCodeCheck.Clicked = [&tool] { InternalCodeSwitched(tool); };
    tool.CalZeroButton.Clicked = [&tool] { CalibrateZero(tool); };
    tool.CalHighButton.Clicked = [&tool] { CalibrateHigh(tool); };
    tool.UpgradeButton.Clicked = [&tool] { StartFirmwareUpgrade(tool); };
}

}  // namespace boardtool
