// Decoding of PCX pictures (RLE): 8-bit with the 256-colour table at the end
// of the file, and 24-bit as three 8-bit colour planes per line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct DecodedPicture {
    int width = 0, height = 0;
    // Top-down rows of 0x00RRGGBB pixels, width * height of them.
    std::vector<uint32_t> pixels;
};

// nullopt when the bytes are not a PCX picture of these kinds or end before
// the picture does; never reads past the bytes.
std::optional<DecodedPicture> DecodePcx(const std::string& bytes);

}  // namespace platform
