// Small generated pictures for packages: a 24-bit Windows bitmap filled
// with a top-to-bottom gradient between two colours.
#pragma once

#include <cstdint>
#include <string>

namespace pkgbuild {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// The bytes of a .bmp file; width and height from 1 to 4096.
std::string GradientBitmap(int width, int height, Rgb top, Rgb bottom);

}  // namespace pkgbuild
