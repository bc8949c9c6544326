// The advanced permission: a password asked for in PermissionWindow and kept
// for the rest of the run.
#pragma once

#include "../link/board_tool.h"
#include "platform/form.h"

namespace boardtool {

extern const platform::FormSpec PermissionWindowForm;

// Only these two exact texts grant the permission.
bool GrantsPermission(const Text& password);
// Shows PermissionWindow modally over the main window until it is closed;
// its OK button stores the password typed. Polling goes on behind it.
void AskForPassword(BoardTool& tool);

}  // namespace boardtool
