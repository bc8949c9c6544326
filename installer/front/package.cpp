#include "package.h"

namespace installer {

using platform::File;

namespace {

int64_t Remaining(File& f) {
    int64_t left = f.size() - f.position();
    return left < 0 ? 0 : left;
}

// Reads exactly n bytes or restores the position and fails.
bool ReadExact(File& f, void* into, size_t n) {
    int64_t start = f.position();
    size_t got = 0;
    auto* p = static_cast<char*>(into);
    while (got < n) {
        size_t r = f.read(p + got, n - got);
        if (r == 0) break;
        got += r;
    }
    if (got == n) return true;
    f.seek(start);
    return false;
}

// A length-led run: Int32 N >= 0, then N bytes.
std::optional<std::string> ReadCounted(File& f) {
    int64_t start = f.position();
    auto n = ReadInt32(f);
    if (!n) return std::nullopt;
    if (*n < 0 || *n > Remaining(f)) {
        f.seek(start);
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(*n), '\0');
    if (*n > 0 && !ReadExact(f, bytes.data(), bytes.size())) {
        f.seek(start);
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<int32_t> ReadInt32(File& f) {
    unsigned char b[4];
    if (!ReadExact(f, b, 4)) return std::nullopt;
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

std::optional<bool> ReadBool(File& f) {
    auto v = ReadInt32(f);
    if (!v) return std::nullopt;
    return *v != 0;
}

Text CutAtZero(const std::string& bytes) {
    size_t zero = bytes.find('\0');
    return zero == std::string::npos ? bytes : bytes.substr(0, zero);
}

std::optional<Text> ReadCountedText(File& f) {
    auto bytes = ReadCounted(f);
    if (!bytes) return std::nullopt;
    return CutAtZero(*bytes);
}

std::optional<std::string> ReadByteBlock(File& f) { return ReadCounted(f); }

std::optional<Text> ReadZeroText(File& f) {
    int64_t start = f.position();
    Text text;
    char buf[256];
    for (;;) {
        int64_t at = f.position();
        size_t n = f.read(buf, sizeof buf);
        if (n == 0) break;
        for (size_t i = 0; i < n; ++i)
            if (buf[i] == '\0') {
                text.append(buf, i);
                f.seek(at + static_cast<int64_t>(i) + 1);
                return text;
            }
        text.append(buf, n);
    }
    if (text.empty()) {
        f.seek(start);
        return std::nullopt;
    }
    return text;
}

std::string ReadRaw(File& f, int64_t n) {
    std::string bytes;
    if (n <= 0) return bytes;
    int64_t want = n < Remaining(f) ? n : Remaining(f);
    bytes.resize(static_cast<size_t>(want));
    size_t got = 0;
    while (got < bytes.size()) {
        size_t r = f.read(bytes.data() + got, bytes.size() - got);
        if (r == 0) break;
        got += r;
    }
    bytes.resize(got);
    return bytes;
}

LoadResult LoadPackage(platform::Files& files, const Text& path, PackageInfo& info,
                       StartupLook* lookOut,
                       const std::function<void(const StartupLook&)>& afterVisualStyle) {
    platform::OpenResult opened = platform::OpenResult::Ok;
    std::unique_ptr<File> f = files.openRead(path, &opened);
    if (!f) return opened == platform::OpenResult::NotFound ? LoadResult::NotFound
                                                            : LoadResult::CannotOpen;
    auto magic = ReadInt32(*f);
    auto version = magic ? ReadInt32(*f) : std::nullopt;
    if (!magic || !version || *magic != PackageMagic || *version > HighestFormatVersion)
        return LoadResult::BadHeader;
    info.FormatVersion = *version;

    // Every later field keeps its initial value when it cannot be read.
    auto take = [](auto& field, auto value) {
        if (value) field = *value;
    };
    StartupLook look;
    take(info.ProductName, ReadCountedText(*f));
    info.ProductName = platform::TrimBlanks(info.ProductName);
    take(info.ReadmeText, ReadCountedText(*f));
    take(info.LicenseText, ReadCountedText(*f));
    take(look.GradientOn, ReadBool(*f));
    take(look.GradientStyle, ReadInt32(*f));
    take(look.GradientColor1, ReadInt32(*f));
    take(look.GradientColor2, ReadInt32(*f));
    take(look.GradientColor3, ReadInt32(*f));
    take(look.BackPictureOn, ReadBool(*f));
    take(look.BackPicture, ReadByteBlock(*f));
    take(look.BackColorOn, ReadBool(*f));
    take(look.BackColor, ReadInt32(*f));
    take(look.CaptionOn, ReadBool(*f));
    take(look.PromoImage, ReadByteBlock(*f));
    take(info.PromoPlacement, ReadInt32(*f));
    take(look.WizardOnly, ReadBool(*f));
    take(info.SideImage, ReadByteBlock(*f));
    take(look.SpareImage, ReadByteBlock(*f));
    take(look.VisualStyleOn, ReadInt32(*f));
    take(look.VisualStyle, ReadInt32(*f));
    if (afterVisualStyle) afterVisualStyle(look);

    if (info.FormatVersion >= 3) {
        if (info.FormatVersion >= 4) take(info.ProgramShortcutOn, ReadBool(*f));
        int32_t m = 0;
        take(m, ReadInt32(*f));
        // A complete entry takes at least 6 bytes; entries the file cannot
        // hold at all would only be empty, so a huge count in a short file
        // does not reserve memory for them.
        int64_t room = Remaining(*f) / 6 + 1;
        if (m > room) m = static_cast<int32_t>(room);
        if (m > 0) {
            info.MenuEntryLink.assign(static_cast<size_t>(m), Text());
            info.MenuEntryTarget.assign(static_cast<size_t>(m), Text());
            info.MenuEntryKind.assign(static_cast<size_t>(m), 0);
            for (size_t i = 0; i < static_cast<size_t>(m); ++i) {
                take(info.MenuEntryLink[i], ReadZeroText(*f));
                take(info.MenuEntryTarget[i], ReadZeroText(*f));
                take(info.MenuEntryKind[i], ReadInt32(*f));
            }
        }
    }
    take(info.DefaultFolder, ReadCountedText(*f));
    info.DefaultFolder = platform::TrimBlanks(info.DefaultFolder);
    take(info.UnderProgramFiles, ReadBool(*f));
    take(info.UninstallerOn, ReadBool(*f));
    take(info.MenuShortcutsOn, ReadBool(*f));
    take(info.DesktopShortcutOn, ReadBool(*f));
    take(info.RunAfterOn, ReadBool(*f));
    info.PayloadOffset = f->position();
    if (lookOut) *lookOut = look;
    return LoadResult::Loaded;
}

std::unique_ptr<File> OpenPayload(platform::Files& files, const PackageInfo& info) {
    std::unique_ptr<File> f = files.openRead(info.PackagePath);
    if (f && !f->seek(info.PayloadOffset)) return nullptr;
    return f;
}

}  // namespace installer
