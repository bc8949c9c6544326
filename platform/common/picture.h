// Picture recognition shared by the backends: the format from the leading
// bytes and the dimensions from the header, never reading past the bytes.
#pragma once

#include <optional>
#include <string>

namespace platform {

enum class PictureFormat { Bitmap, Jpeg, Icon, Cursor, Gif, Pcx };

struct PictureInfo {
    PictureFormat format;
    int width = 0, height = 0;
};

// nullopt when the bytes are not a decodable picture of a known format.
std::optional<PictureInfo> InspectPicture(const std::string& bytes);

}  // namespace platform
