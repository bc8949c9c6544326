// The installation routine: copying the payload, registering the product
// with the system and the finish state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../front/installer.h"

namespace installer {

// Started by Next on the "Prepare" page. Returns with the finish page
// showing, with nothing changed (empty folder), or after a confirmed stop
// with the wizard destroyed.
void RunSetup(Installer& app);

// Creates path (truncating an old file) and writes data; a failure ends
// the installer with the create-file or the write-file message.
void WriteFileBytes(Installer& app, const Text& path, const std::string& data);

// What the copying hands to the registration phase.
struct SetupLists {
    std::vector<Text> InstalledFiles;  // in the order written
    std::vector<Text> CreatedFolders;  // newest (deepest) first
    std::vector<Text> TreeFolders;     // in payload order
    int64_t InstalledBytes = 0;
};

// Splits folder at its separators and creates each missing level past the
// drive, noting the created ones at the front of createdFolders.
void BuildFolderChain(platform::Files& files, const Text& folder,
                      std::vector<Text>& createdFolders);

// Copying phase; false when the user stopped it (the wizard is destroyed).
bool CopyPayload(Installer& app, SetupLists& lists);

// Registration of a kind-6 component, stored-file record number i.
void RegisterComponent(Installer& app, const Text& destination, const Text& param, int i);
void RegistrationPhase(Installer& app, const SetupLists& lists);

Text GetProgramsFolder(Installer& app);
void MakeShortcut(Installer& app, const Text& link, const Text& target);
Text PathLastPart(const Text& path);
Text PathParentPart(const Text& path);

// The finish page, and the Finish button's start of the main program.
void FinishState(Installer& app);
void FinishActions(Installer& app);

}  // namespace installer

namespace installer {

// Copies n bytes from the package's read position into a new file at path
// in bounded chunks, with the messages of WriteFileBytes.
void WriteFileFromPackage(Installer& app, const Text& path, platform::File& package, int64_t n);

// A path inside the folder it is relative to: no root, no drive, no "..".
bool StaysInside(const Text& relative);
// Ends the installer when a menu entry would be made outside the Programs
// folder; run before anything is written.
void RefuseMenuOutside(Installer& app);

// The payload does not hold what its counts and lengths promise.
[[noreturn]] void PackageDamaged(Installer& app);
// The payload holds a value no package builder writes.
[[noreturn]] void PackageMalformed(Installer& app);

}  // namespace installer
