// The installation package: its in-memory description (PackageInfo), the
// value readers shared by the start-up reader and the payload walk, and
// LoadPackage, which reads the header and the descriptive part.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace installer {

using platform::Text;

constexpr int32_t PackageMagic = 45872376;  // bytes F8 F4 BB 02
constexpr int32_t HighestFormatVersion = 4;

struct PackageInfo {
    Text PackagePath;
    int32_t FormatVersion = 0;
    Text ProductName;
    Text ReadmeText;
    Text LicenseText;
    int32_t PromoPlacement = 0;
    int32_t PromoWidth = 0;
    int32_t PromoHeight = 0;
    std::string SideImage;
    bool ProgramShortcutOn = false;
    // Menu entries, 1-based in use: entry d is element d - 1.
    std::vector<Text> MenuEntryLink;
    std::vector<Text> MenuEntryTarget;
    std::vector<int32_t> MenuEntryKind;
    Text DefaultFolder;
    bool UnderProgramFiles = false;
    bool UninstallerOn = false;
    bool MenuShortcutsOn = false;
    bool DesktopShortcutOn = false;
    bool RunAfterOn = false;
    int64_t PayloadOffset = 0;
};

// The fields that only dress the background window at start-up.
struct StartupLook {
    bool GradientOn = false;
    int32_t GradientStyle = 0;
    int32_t GradientColor1 = 0, GradientColor2 = 0, GradientColor3 = 0;
    bool BackPictureOn = false;
    std::string BackPicture;
    bool BackColorOn = false;
    int32_t BackColor = 0;
    bool CaptionOn = false;
    std::string PromoImage;
    bool WizardOnly = false;
    std::string SpareImage;
    int32_t VisualStyleOn = 0;  // only exactly 1 switches the style on
    int32_t VisualStyle = 0;
};

// Value readers. Each reads its value whole or not at all: when the value
// cannot be read (the file ends inside it, a length is negative or asks
// for more bytes than are left) it yields nullopt and leaves the read
// position where the value began.
std::optional<int32_t> ReadInt32(platform::File& f);
std::optional<bool> ReadBool(platform::File& f);  // any non-zero value is true
std::optional<Text> ReadCountedText(platform::File& f);
std::optional<std::string> ReadByteBlock(platform::File& f);
std::optional<Text> ReadZeroText(platform::File& f);
// Up to n raw bytes; fewer when the file ends first, none when n <= 0.
std::string ReadRaw(platform::File& f, int64_t n);
// The text formed by bytes up to, not including, the first zero byte.
Text CutAtZero(const std::string& bytes);

enum class LoadResult { Loaded, NotFound, CannotOpen, BadHeader };

// Reads the header and the descriptive part of the package at path into
// info (PackagePath is set by the caller). afterVisualStyle runs right after
// the visual-style fields have been read, before the rest of the part.
LoadResult LoadPackage(platform::Files& files, const Text& path, PackageInfo& info,
                       StartupLook* look = nullptr,
                       const std::function<void(const StartupLook&)>& afterVisualStyle = {});

// Opens the package for reading while denying other writers and moves to
// the payload; nullptr when it cannot be opened.
std::unique_ptr<platform::File> OpenPayload(platform::Files& files, const PackageInfo& info);

}  // namespace installer
