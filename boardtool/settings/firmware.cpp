#include "firmware.h"

#include "../link/board_protocol.h"
#include "../link/serial_link.h"
#include "permission.h"

namespace boardtool {

void RequestFirmwareVersion(BoardTool& tool) {
    tool.PollTimer.setPeriod(0);
    tool.ui.sleep(10);
    tool.FirmwarePrefix.clear();
    tool.ui.sleep(10);
    SendCommand(tool, VersionCommand);
    tool.ui.sleep(200);
    tool.PollTimer.setPeriod(200);
}

namespace {
const char* const CannotStartUpgrade = "无法启动固件升级，请尝试以管理员身份运行本软件！!";
}  // namespace

void StartFirmwareUpgrade(BoardTool& tool) {
    if (!GrantsPermission(tool.PermissionPassword)) {
        tool.PermissionPassword.clear();
        AskForPassword(tool);
        if (!GrantsPermission(tool.PermissionPassword)) return tool.showMessage("权限错误!");
        tool.CalibrationGroup.setEnabled(true);
        tool.SettingsGroup.setEnabled(true);
    }

    if (tool.FirmwarePrefix.empty()) tool.FirmwarePrefix = "C";
    Text source = tool.files.runDirectory() + "\\" + tool.FirmwarePrefix + "_" + tool.EditionCode + ".st";
    if (!tool.files.exists(source)) return tool.showMessage(CannotStartUpgrade);

    tool.files.createFolder(tool.UpgradeFolder);  // one level; an existing folder is fine
    Text copy = tool.UpgradeFolder + "\\temp.exe";
    if (!tool.files.copyFile(source, copy, /*replace=*/true)) return tool.showMessage(CannotStartUpgrade);
    // Quoted, so that a blank in the folder never starts another program.
    if (!tool.services.processes().start("\"" + copy + "\"")) return tool.showMessage(CannotStartUpgrade);

    // The upgrade program takes the serial port over.
    if (tool.OpenButton.text() == "关闭") OpenButtonClicked(tool);
}

}  // namespace boardtool
