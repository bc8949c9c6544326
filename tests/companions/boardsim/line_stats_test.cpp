// The board's line statistics: percentiles of the poll gaps and the frames
// it counts.
#include <gtest/gtest.h>

#include "line_stats.h"

using namespace boardsim;

namespace {

TEST(Percentile, NearestRank) {
    struct Case {
        std::vector<int64_t> values;
        double p;
        int64_t expected;
    } cases[] = {
        {{}, 50, 0},
        {{7}, 0, 7},
        {{7}, 99, 7},
        {{5, 1, 4, 2, 3}, 50, 3},           // order does not matter
        {{1, 2, 3, 4}, 50, 2},              // the lower middle of an even count
        {{1, 2, 3, 4}, 51, 3},
        {{1, 2, 3, 4}, 100, 4},
        {{1, 2, 3, 4}, 0, 1},
        {{1, 2, 3, 4}, 150, 4},             // clamped
    };
    for (const Case& c : cases) EXPECT_EQ(Percentile(c.values, c.p), c.expected) << c.p;

    // 99th of 1..1000: the 990th value; one outlier in a thousand does not
    // show in it, eleven do.
    std::vector<int64_t> gaps;
    for (int64_t i = 1; i <= 1000; ++i) gaps.push_back(i);
    EXPECT_EQ(Percentile(gaps, 99), 990);
    std::vector<int64_t> steady(1000, 200'000);
    steady[500] = 900'000;
    EXPECT_EQ(Percentile(steady, 99), 200'000);
    for (int i = 0; i < 11; ++i) steady[size_t(i)] = 900'000;
    EXPECT_EQ(Percentile(steady, 99), 900'000);
}

TEST(LineStats, GapsBetweenPollsAndTheReport) {
    LineStats s;
    EXPECT_NE(s.report().find("last_weight_frame -\npolls_heard 0\n"), std::string::npos) << s.report();
    EXPECT_NE(s.report().find("poll_gap_median_ms 0.000\n"), std::string::npos);
    for (int64_t t : {1'000'000, 1'200'000, 1'401'500, 1'600'000, 2'350'000}) s.pollHeard(t);
    EXPECT_EQ(s.polls(), 5u);
    EXPECT_EQ(s.pollGaps(), (std::vector<int64_t>{200'000, 201'500, 198'500, 750'000}));
    std::string r = s.report();
    for (const char* line : {"polls_heard 5\n", "poll_gaps 4\n", "poll_gap_median_ms 200.000\n",
                             "poll_gap_p99_ms 750.000\n", "poll_gap_max_ms 750.000\n"})
        EXPECT_NE(r.find(line), std::string::npos) << line << " in\n" << r;
}

TEST(LineStats, CountsWeightFramesApart) {
    LineStats s;
    s.frameSent("+001.500kgGS001\r\n", false);
    s.frameSent("+0123456VA     \r\n", false);                              // version
    s.frameSent(std::string("R\0\3\0\2\0\0\0\2\0\3\0\3\0\3\r\n", 17), true);  // settings
    s.frameSent("-001.500g NT011\r\n", true);
    s.frameSent("001.500kgGS001\r\n", true);                                 // cut short
    EXPECT_EQ(s.framesSent(), 5u);
    EXPECT_EQ(s.weightFramesSent(), 2u);
    EXPECT_EQ(s.weightFramesAfterFirstPoll(), 1u);
    std::string r = s.report();
    EXPECT_EQ(s.lastWeightFrame(), "-001.500g NT011");
    EXPECT_NE(r.find("frames_sent 5\nweight_frames_sent 2\nweight_frames_after_first_poll 1\n"
                     "last_weight_frame -001.500g_NT011\n"),
              std::string::npos)
        << r;
}

}  // namespace
