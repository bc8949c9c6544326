#include "platform/entry.h"
#include "uninstall_main.h"

PLATFORM_PROGRAM(uninstall::UninstallMain)
