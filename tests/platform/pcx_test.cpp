// Decoding PCX pictures: pixel values of both kinds, runs, padding, and
// files that end early.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pcx.h"
#include "picture.h"

using platform::DecodePcx;

namespace {

void Le16(std::string& b, unsigned v) { b += char(v & 0xFF), b += char((v >> 8) & 0xFF); }

std::string Header(int w, int h, int planes, int lineBytes) {
    std::string b;
    b += '\x0A', b += '\x05', b += '\x01', b += '\x08';
    Le16(b, 0), Le16(b, 0), Le16(b, unsigned(w - 1)), Le16(b, unsigned(h - 1));
    Le16(b, 72), Le16(b, 72);
    b.append(48, '\0');
    b += '\0';
    b += char(planes);
    Le16(b, unsigned(lineBytes));
    Le16(b, 1);
    b.resize(128, '\0');
    return b;
}

// Run-length encodes a stream of bytes the way PCX writers do: runs of up
// to 63, and single bytes of 0xC0 and above as runs of one.
std::string Rle(const std::vector<unsigned char>& data) {
    std::string out;
    for (size_t i = 0; i < data.size();) {
        size_t n = 1;
        while (i + n < data.size() && data[i + n] == data[i] && n < 63) ++n;
        if (n > 1 || data[i] >= 0xC0) out += char(0xC0 | n);
        out += char(data[i]);
        i += n;
    }
    return out;
}

uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }

// An 8-bit picture 5 x 3 (lines padded to 6 bytes) with colour index
// (x + y * 5) * 3, and a palette where index i is (i, 255 - i, i / 2).
std::string Palette8() {
    const int w = 5, h = 3, lb = 6;
    std::vector<unsigned char> data;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) data.push_back(static_cast<unsigned char>((x + y * w) * 3));
        data.push_back(0);  // padding
    }
    // A run across the first line's end: the last line all index 200.
    for (int x = 0; x < w; ++x) data[size_t(2 * lb + x)] = 200;
    std::string palette = "\x0C";
    for (int i = 0; i < 256; ++i) palette += char(i), palette += char(255 - i), palette += char(i / 2);
    return Header(w, h, 1, lb) + Rle(data) + palette;
}

// A 24-bit picture 3 x 2 with red = 10 * x, green = 100 + y, blue = 0xC8.
std::string Planes24() {
    const int w = 3, h = 2, lb = 4;
    std::vector<unsigned char> data;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < lb; ++x) data.push_back(static_cast<unsigned char>(x < w ? 10 * x : 0));
        for (int x = 0; x < lb; ++x) data.push_back(static_cast<unsigned char>(100 + y));
        for (int x = 0; x < lb; ++x) data.push_back(0xC8);
    }
    return Header(w, h, 3, lb) + Rle(data);
}

}  // namespace

TEST(Pcx, EightBitPictureTakesItsColoursFromTheTableAtTheEnd) {
    std::string file = Palette8();
    auto p = DecodePcx(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 5);
    EXPECT_EQ(p->height, 3);
    ASSERT_EQ(p->pixels.size(), 15u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x) {
            unsigned i = unsigned((x + y * 5) * 3);
            EXPECT_EQ(p->pixels[size_t(y * 5 + x)], Rgb(i, 255 - i, i / 2)) << x << "," << y;
        }
    for (int x = 0; x < 5; ++x) EXPECT_EQ(p->pixels[size_t(10 + x)], Rgb(200, 55, 100));
    // The size agrees with the one read from the header.
    auto info = platform::InspectPicture(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->width, 5);
    EXPECT_EQ(info->height, 3);
}

TEST(Pcx, TwentyFourBitPictureReadsThreePlanesPerLine) {
    auto p = DecodePcx(Planes24());
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 3);
    ASSERT_EQ(p->height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(p->pixels[size_t(y * 3 + x)], Rgb(unsigned(10 * x), unsigned(100 + y), 0xC8))
                << x << "," << y;
}

TEST(Pcx, FileEndingEarlyIsNotAPicture) {
    // Every shorter 24-bit file ends inside the header or the lines.
    std::string full = Planes24();
    for (size_t n = 0; n < full.size(); ++n) EXPECT_FALSE(DecodePcx(full.substr(0, n))) << n;
    // An 8-bit file whose lines end early: the table that follows must not
    // be taken for pixel data.
    std::string eight = Palette8();
    std::string lines = eight.substr(0, eight.size() - 769);
    std::string table = eight.substr(eight.size() - 769);
    for (size_t n = 128; n < lines.size(); ++n)
        EXPECT_FALSE(DecodePcx(lines.substr(0, n) + table)) << n;
    EXPECT_FALSE(DecodePcx(lines));  // no table at all
}

TEST(Pcx, OtherKindsAndBrokenHeadersAreRefused) {
    struct Case {
        const char* what;
        size_t at;
        char value;
    } cases[] = {
        {"not a PCX file", 0, 'B'},
        {"no run-length encoding", 2, 0},
        {"4 bits per pixel", 3, 4},
        {"two planes", 65, 2},
        {"lines shorter than the picture", 66, 2},
        {"right edge before the left", 8, 0},
    };
    std::string good = Planes24();
    ASSERT_TRUE(DecodePcx(good));
    for (const Case& c : cases) {
        std::string bad = good;
        bad[c.at] = c.value;
        if (c.at == 8) bad[4] = 2;  // xmin 2 > xmax 0
        EXPECT_FALSE(DecodePcx(bad)) << c.what;
    }
}
