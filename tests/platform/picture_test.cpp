// Recognising pictures from their leading bytes and reading their sizes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "picture.h"

using platform::InspectPicture;
using platform::PictureFormat;

namespace {

void Le16(std::string& b, unsigned v) { b += char(v & 0xFF), b += char((v >> 8) & 0xFF); }
void Le32(std::string& b, uint32_t v) { Le16(b, v & 0xFFFF), Le16(b, v >> 16); }
void Be16(std::string& b, unsigned v) { b += char((v >> 8) & 0xFF), b += char(v & 0xFF); }

// Each picture is the smallest complete file of its format: a header the
// decoder needs plus a little pixel data.
std::string Bmp(int w, int h) {
    std::string px(size_t(((w * 3 + 3) / 4) * 4 * h), '\x7F');
    std::string b = "BM";
    Le32(b, uint32_t(54 + px.size()));
    Le32(b, 0);
    Le32(b, 54);
    Le32(b, 40);
    Le32(b, uint32_t(w));
    Le32(b, uint32_t(h));
    Le16(b, 1);
    Le16(b, 24);
    Le32(b, 0);
    Le32(b, uint32_t(px.size()));
    Le32(b, 2835), Le32(b, 2835), Le32(b, 0), Le32(b, 0);
    return b + px;
}

std::string Gif(int w, int h) {
    std::string b = "GIF89a";
    Le16(b, unsigned(w));
    Le16(b, unsigned(h));
    b += char(0x80), b += char(0), b += char(0);  // global table of 2 colours
    b += std::string(6, '\0');
    b += ',';  // one image descriptor
    Le16(b, 0), Le16(b, 0), Le16(b, unsigned(w)), Le16(b, unsigned(h));
    b += char(0), b += char(2), b += char(2), b += char(0x44), b += char(1), b += char(0), b += ';';
    return b;
}

std::string Jpeg(int w, int h) {
    std::string b = "\xFF\xD8";
    b += "\xFF\xE0";
    Be16(b, 16);
    b += std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14);
    b += "\xFF\xC0";
    Be16(b, 11);
    b += char(8);
    Be16(b, unsigned(h));
    Be16(b, unsigned(w));
    b += char(1), b += char(1), b += char(0x11), b += char(0);
    b += "\xFF\xD9";
    return b;
}

std::string IconFile(int type, int w, int h) {
    std::string image = Bmp(w, h).substr(14);  // a DIB without its file header
    std::string b;
    Le16(b, 0), Le16(b, unsigned(type)), Le16(b, 1);
    b += char(w == 256 ? 0 : w), b += char(h == 256 ? 0 : h), b += char(0), b += char(0);
    Le16(b, 1), Le16(b, 24);
    Le32(b, uint32_t(image.size()));
    Le32(b, 22);
    return b + image;
}

std::string Pcx(int w, int h) {
    std::string b(128, '\0');
    b[0] = 0x0A, b[1] = 5, b[2] = 1, b[3] = 8;
    std::string dims;
    Le16(dims, 0), Le16(dims, 0), Le16(dims, unsigned(w - 1)), Le16(dims, unsigned(h - 1));
    b.replace(4, 8, dims);
    b[65] = 3;  // three colour planes: 24-bit
    b[66] = char(w & 0xFF), b[67] = char(w >> 8);
    return b + std::string(size_t(w * 3 * h), '\x11');
}

struct Case {
    const char* name;
    std::string bytes;
    PictureFormat format;
    int width, height;
};

std::vector<Case> Cases() {
    return {
        {"bmp", Bmp(200, 100), PictureFormat::Bitmap, 200, 100},
        {"gif", Gif(31, 7), PictureFormat::Gif, 31, 7},
        {"jpeg", Jpeg(640, 480), PictureFormat::Jpeg, 640, 480},
        {"ico", IconFile(1, 16, 32), PictureFormat::Icon, 16, 32},
        {"cur", IconFile(2, 256, 256), PictureFormat::Cursor, 256, 256},
        {"pcx", Pcx(12, 9), PictureFormat::Pcx, 12, 9},
    };
}

TEST(Picture, EachFormatGivesItsSize) {
    for (const Case& c : Cases()) {
        auto info = InspectPicture(c.bytes);
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->format, c.format) << c.name;
        EXPECT_EQ(info->width, c.width) << c.name;
        EXPECT_EQ(info->height, c.height) << c.name;
    }
}

TEST(Picture, TruncatedHeadersAreNotDecodable) {
    for (const Case& c : Cases())
        for (size_t cut : {size_t(0), size_t(1), size_t(3), size_t(5), size_t(12), size_t(17)}) {
            if (cut >= c.bytes.size()) continue;
            EXPECT_FALSE(InspectPicture(c.bytes.substr(0, cut))) << c.name << " cut at " << cut;
        }
}

TEST(Picture, LyingHeadersAreNotDecodable) {
    std::string bmp = Bmp(4, 4);
    bmp[10] = char(0xF0);  // pixel data said to start past the end
    EXPECT_FALSE(InspectPicture(bmp));
    std::string ico = IconFile(1, 16, 16);
    ico[6 + 8] = char(0xFF), ico[6 + 9] = char(0xFF);  // image larger than the file
    EXPECT_FALSE(InspectPicture(ico));
    std::string jpeg = Jpeg(8, 8);
    jpeg[4] = char(0x7F);  // segment length far past the end
    EXPECT_FALSE(InspectPicture(jpeg));
    EXPECT_FALSE(InspectPicture(Bmp(0, 5)));
}

TEST(Picture, UnknownLeadingBytesAreNotDecodable) {
    for (const std::string& bytes : {std::string("\x89PNG\r\n\x1a\n0000000000000000", 24),
                                     std::string("hello world"), std::string(64, '\0'),
                                     std::string()})
        EXPECT_FALSE(InspectPicture(bytes));
}

}  // namespace
