#include "pcx.h"

#include <cstddef>

namespace platform {

namespace {

constexpr size_t HeaderSize = 128;
constexpr size_t PaletteSize = 1 + 256 * 3;  // marker 0x0C and the table
constexpr int MaxSide = 16384;

unsigned U8(const std::string& b, size_t at) { return static_cast<unsigned char>(b[at]); }
unsigned Le16(const std::string& b, size_t at) { return U8(b, at) | (U8(b, at + 1) << 8); }

}  // namespace

std::optional<DecodedPicture> DecodePcx(const std::string& bytes) {
    if (bytes.size() < HeaderSize || U8(bytes, 0) != 0x0A || U8(bytes, 2) != 1) return std::nullopt;
    unsigned bits = U8(bytes, 3);
    unsigned planes = U8(bytes, 65);
    long xmin = Le16(bytes, 4), ymin = Le16(bytes, 6), xmax = Le16(bytes, 8), ymax = Le16(bytes, 10);
    size_t lineBytes = Le16(bytes, 66);
    if (bits != 8 || (planes != 1 && planes != 3)) return std::nullopt;
    if (xmax < xmin || ymax < ymin) return std::nullopt;
    long width = xmax - xmin + 1, height = ymax - ymin + 1;
    if (width > MaxSide || height > MaxSide) return std::nullopt;
    if (lineBytes < static_cast<size_t>(width)) return std::nullopt;

    // The 8-bit picture keeps its colour table in the last bytes; the
    // encoded lines end before it.
    size_t dataEnd = bytes.size();
    const unsigned char* palette = nullptr;
    if (planes == 1) {
        if (bytes.size() < HeaderSize + PaletteSize) return std::nullopt;
        size_t marker = bytes.size() - PaletteSize;
        if (U8(bytes, marker) != 0x0C) return std::nullopt;
        palette = reinterpret_cast<const unsigned char*>(bytes.data()) + marker + 1;
        dataEnd = marker;
    }

    DecodedPicture out;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);

    // Runs may cross the end of a plane line (and of a scan line), as some
    // writers do, so the lines are decoded as one stream.
    std::vector<unsigned char> line(lineBytes * planes);
    size_t at = HeaderSize;
    size_t runLeft = 0;
    unsigned runValue = 0;
    for (long y = 0; y < height; ++y) {
        for (size_t i = 0; i < line.size(); ++i) {
            if (runLeft == 0) {
                if (at >= dataEnd) return std::nullopt;
                unsigned v = U8(bytes, at++);
                if ((v & 0xC0) == 0xC0) {
                    runLeft = v & 0x3F;
                    if (at >= dataEnd) return std::nullopt;
                    runValue = U8(bytes, at++);
                } else {
                    runLeft = 1;
                    runValue = v;
                }
                if (runLeft == 0) { --i; continue; }  // an empty run holds no byte
            }
            line[i] = static_cast<unsigned char>(runValue);
            --runLeft;
        }
        uint32_t* row = out.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (long x = 0; x < width; ++x) {
            unsigned r, g, b;
            if (palette) {
                const unsigned char* c = palette + 3 * line[static_cast<size_t>(x)];
                r = c[0], g = c[1], b = c[2];
            } else {
                r = line[static_cast<size_t>(x)];
                g = line[lineBytes + static_cast<size_t>(x)];
                b = line[2 * lineBytes + static_cast<size_t>(x)];
            }
            row[x] = (r << 16) | (g << 8) | b;
        }
    }
    return out;
}

}  // namespace platform
