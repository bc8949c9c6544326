// Removing the paths of the uninstall record: files and shortcuts are
// deleted, folders removed only when empty. The uninstaller's own files
// cannot go while it runs; they, and the folders that hold nothing else,
// are left to a command that runs after it has ended.
#pragma once

#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace uninstall {

using platform::Text;

struct Removal {
    std::vector<Text> notRemoved;        // still there at the end, first mention order
    std::vector<Text> scheduledFiles;    // the uninstaller's own files
    std::vector<Text> scheduledFolders;  // folders holding only scheduled things, removal order
};

// paths in the order to remove them; ownFiles: the uninstaller's own files.
Removal RemovePaths(platform::Files& files, const std::vector<Text>& paths, const std::vector<Text>& ownFiles);

// The command line that deletes the scheduled files and folders once the
// uninstaller has ended (it waits about two seconds first), run by the
// command interpreter of the Windows directory; empty when nothing is
// scheduled.
Text CleanupCommand(const Removal& removal, const Text& windowsDirectory);

}  // namespace uninstall
