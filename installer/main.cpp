#include "front/installer.h"
#include "platform/entry.h"

PLATFORM_PROGRAM(installer::InstallerMain)
