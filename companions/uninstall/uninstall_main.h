// uninstall.exe: removes a product as its uninstall record describes it.
#pragma once

#include "platform/services.h"

namespace uninstall {

// Reads uninstall.ini from the program's own folder, asks the user, then
// unregisters the components, removes the files, shortcuts and folders,
// deletes the system's uninstall entry, and tells the user in one message
// what it could not remove. Exit code 0 when everything went, 1 otherwise,
// 2 when the user said no.
int UninstallMain(platform::Services& services);

}  // namespace uninstall
