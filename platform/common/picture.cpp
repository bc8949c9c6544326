#include "picture.h"

#include <cstdint>

namespace platform {
namespace {

struct Bytes {
    const std::string& b;
    bool has(size_t at, size_t n) const { return at <= b.size() && n <= b.size() - at; }
    unsigned u8(size_t at) const { return static_cast<unsigned char>(b[at]); }
    unsigned le16(size_t at) const { return u8(at) | (u8(at + 1) << 8); }
    unsigned be16(size_t at) const { return (u8(at) << 8) | u8(at + 1); }
    int32_t le32(size_t at) const {
        return static_cast<int32_t>(le16(at) | (static_cast<uint32_t>(le16(at + 2)) << 16));
    }
};

std::optional<PictureInfo> Make(PictureFormat f, long w, long h) {
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535) return std::nullopt;
    return PictureInfo{f, static_cast<int>(w), static_cast<int>(h)};
}

std::optional<PictureInfo> Bitmap(const Bytes& p) {
    // BITMAPFILEHEADER (14) + at least the size field of the info header.
    if (!p.has(0, 18)) return std::nullopt;
    int32_t fileSize = p.le32(2);
    int32_t dataOffset = p.le32(10);
    int32_t infoSize = p.le32(14);
    if (fileSize < 0 || dataOffset < 0) return std::nullopt;
    if (static_cast<size_t>(dataOffset) > p.b.size()) return std::nullopt;
    if (infoSize == 12) {  // BITMAPCOREHEADER
        if (!p.has(14, 12)) return std::nullopt;
        return Make(PictureFormat::Bitmap, p.le16(18), p.le16(20));
    }
    if (infoSize < 40 || !p.has(14, 40)) return std::nullopt;
    int32_t w = p.le32(18), h = p.le32(22);
    if (h < 0) h = -h;  // top-down bitmap
    return Make(PictureFormat::Bitmap, w, h);
}

std::optional<PictureInfo> Gif(const Bytes& p) {
    if (!p.has(0, 13)) return std::nullopt;
    // The logical screen must be followed by at least one image or the
    // trailer; a header alone is not a picture.
    size_t at = 13;
    if (p.u8(10) & 0x80) at += 3u * (1u << ((p.u8(10) & 7) + 1));
    if (!p.has(at, 1)) return std::nullopt;
    return Make(PictureFormat::Gif, p.le16(6), p.le16(8));
}

std::optional<PictureInfo> Jpeg(const Bytes& p) {
    size_t at = 2;
    while (p.has(at, 4)) {
        if (p.u8(at) != 0xFF) return std::nullopt;
        unsigned marker = p.u8(at + 1);
        if (marker == 0xFF) { ++at; continue; }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame header before data
        unsigned len = p.be16(at + 2);
        if (len < 2 || !p.has(at + 2, len)) return std::nullopt;
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                     marker != 0xCC;
        if (frame) {
            if (len < 7) return std::nullopt;
            return Make(PictureFormat::Jpeg, p.be16(at + 7), p.be16(at + 5));
        }
        at += 2 + len;
    }
    return std::nullopt;
}

std::optional<PictureInfo> IconOrCursor(const Bytes& p, PictureFormat f) {
    if (!p.has(0, 6)) return std::nullopt;
    unsigned count = p.le16(4);
    if (count == 0 || !p.has(6, 16u * count)) return std::nullopt;
    // The first image gives the size; 0 stands for 256.
    unsigned w = p.u8(6), h = p.u8(7);
    int32_t bytes = p.le32(6 + 8), offset = p.le32(6 + 12);
    if (bytes <= 0 || offset < 0 || !p.has(static_cast<size_t>(offset), static_cast<size_t>(bytes)))
        return std::nullopt;
    return Make(f, w ? w : 256, h ? h : 256);
}

std::optional<PictureInfo> Pcx(const Bytes& p) {
    if (!p.has(0, 128)) return std::nullopt;
    unsigned version = p.u8(1), encoding = p.u8(2), bits = p.u8(3);
    if (version > 5 || encoding > 1) return std::nullopt;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return std::nullopt;
    long xmin = p.le16(4), ymin = p.le16(6), xmax = p.le16(8), ymax = p.le16(10);
    if (xmax < xmin || ymax < ymin) return std::nullopt;
    if (p.u8(65) == 0) return std::nullopt;  // no colour planes
    return Make(PictureFormat::Pcx, xmax - xmin + 1, ymax - ymin + 1);
}

}  // namespace

std::optional<PictureInfo> InspectPicture(const std::string& bytes) {
    Bytes p{bytes};
    if (!p.has(0, 4)) return std::nullopt;
    if (p.u8(0) == 'B' && p.u8(1) == 'M') return Bitmap(p);
    if (bytes.compare(0, 4, "GIF8") == 0) return Gif(p);
    if (p.u8(0) == 0xFF && p.u8(1) == 0xD8) return Jpeg(p);
    if (p.le16(0) == 0 && p.le16(2) == 1) return IconOrCursor(p, PictureFormat::Icon);
    if (p.le16(0) == 0 && p.le16(2) == 2) return IconOrCursor(p, PictureFormat::Cursor);
    if (p.u8(0) == 0x0A) return Pcx(p);
    return std::nullopt;
}

}  // namespace platform
