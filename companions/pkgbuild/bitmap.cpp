#include "bitmap.h"

namespace pkgbuild {

namespace {

void Put16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

uint8_t Mix(uint8_t a, uint8_t b, int step, int steps) {
    if (steps <= 0) return a;
    return static_cast<uint8_t>(a + (static_cast<int>(b) - a) * step / steps);
}

}  // namespace

std::string GradientBitmap(int width, int height, Rgb top, Rgb bottom) {
    uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    uint32_t pixels = stride * static_cast<uint32_t>(height);
    std::string s;
    s += "BM";
    Put32(s, 54 + pixels);  // file size
    Put32(s, 0);            // reserved
    Put32(s, 54);           // offset of the pixels
    Put32(s, 40);           // BITMAPINFOHEADER
    Put32(s, static_cast<uint32_t>(width));
    Put32(s, static_cast<uint32_t>(height));  // positive: bottom row first
    Put16(s, 1);            // planes
    Put16(s, 24);           // bits per pixel
    Put32(s, 0);            // no compression
    Put32(s, pixels);
    Put32(s, 2835);         // 72 dpi
    Put32(s, 2835);
    Put32(s, 0);
    Put32(s, 0);
    for (int row = height - 1; row >= 0; --row) {  // from the bottom
        Rgb c{Mix(top.r, bottom.r, row, height - 1), Mix(top.g, bottom.g, row, height - 1),
              Mix(top.b, bottom.b, row, height - 1)};
        std::string line;
        for (int x = 0; x < width; ++x) {
            line.push_back(static_cast<char>(c.b));
            line.push_back(static_cast<char>(c.g));
            line.push_back(static_cast<char>(c.r));
        }
        line.resize(stride, '\0');
        s += line;
    }
    return s;
}

}  // namespace pkgbuild
