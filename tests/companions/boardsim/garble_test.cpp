// What a receiver at the wrong rate makes of the board's bytes.
#include <gtest/gtest.h>

#include "board_model.h"

using boardsim::Garble;

namespace {

const int Rates[] = {1200, 2400, 4800, 9600};

TEST(Garble, SameRateKeepsTheBytes) {
    const std::string frame = "+001.500kgGS001\r\n";
    for (int r : Rates) EXPECT_EQ(Garble(frame, r, r), frame);
}

TEST(Garble, OtherRatesNeverYieldTheFrameOrItsEnd) {
    const std::string frames[] = {"+001.500kgGS001\r\n", "+0123456VA     \r\n",
                                  std::string("R\0\3\0\2\0\0\0\2\0\3\0\3\0\3\r\n", 17), "P0\r\n", "R1\r\n"};
    for (const std::string& f : frames)
        for (int tx : Rates)
            for (int rx : Rates) {
                if (tx == rx) continue;
                std::string seen = Garble(f, tx, rx);
                EXPECT_NE(seen, f);
                EXPECT_EQ(seen.find("\r\n"), std::string::npos) << tx << " -> " << rx;
                // A slower receiver reads fewer bytes than were sent.
                if (rx < tx) {
                    EXPECT_LT(seen.size(), f.size()) << tx << " -> " << rx;
                }
            }
}

TEST(Garble, AFastReceiverSeesTheStartBitAsZeros) {
    // 0xFF at 1200 is a start bit of 8.3 ms followed by a high line: read
    // at 9600 the start bit fills seven data bits with zeros, the eighth
    // falls on the first high bit.
    EXPECT_EQ(Garble("\xFF", 1200, 9600), "\x80");
    // 0x00 at 9600 read at 1200: the short low pulse of nine bits is taken
    // for a start bit and the high line after it.
    EXPECT_EQ(Garble(std::string(1, '\0'), 9600, 1200), "\xFF");
    EXPECT_EQ(Garble("", 1200, 9600), "");
    EXPECT_EQ(Garble("abc", 0, 9600), "");
}

}  // namespace
