// What the board saw of its line during a run: frames it sent, polls it
// heard and the gaps between them. The boardsim program keeps one and
// writes it out when it ends (--stats FILE).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace boardsim {

// The p-th percentile (0 to 100) of the values by the nearest-rank rule:
// the smallest value that at least p percent of them do not exceed. 0 for
// no values.
int64_t Percentile(std::vector<int64_t> values, double p);

class LineStats {
public:
    // A "P0" or "N5" heard at atMicros.
    void pollHeard(int64_t atMicros);
    // A frame whose last byte went out. A weight frame is a sign-led one
    // that is not the version frame; queuedAfterFirstPoll says whether it
    // was queued after the first poll was heard.
    void frameSent(const std::string& bytes, bool queuedAfterFirstPoll);

    uint64_t polls() const { return polls_; }
    uint64_t framesSent() const { return frames_; }
    uint64_t weightFramesSent() const { return weightFrames_; }
    uint64_t weightFramesAfterFirstPoll() const { return weightAfterPoll_; }
    // The last weight frame sent, without its CR LF.
    const std::string& lastWeightFrame() const { return lastWeight_; }
    // Gaps between consecutive polls, in microseconds.
    const std::vector<int64_t>& pollGaps() const { return gaps_; }

    // "name value" lines: counts, the last weight frame (spaces as "_"),
    // and the median, 99th percentile and largest poll gap in milliseconds
    // (three decimals).
    std::string report() const;

    // True when the frame is a weight frame as the PC would classify it.
    static bool IsWeightFrame(const std::string& bytes);

private:
    uint64_t polls_ = 0;
    uint64_t frames_ = 0;
    uint64_t weightFrames_ = 0;
    uint64_t weightAfterPoll_ = 0;
    int64_t lastPoll_ = -1;
    std::string lastWeight_;
    std::vector<int64_t> gaps_;
};

}  // namespace boardsim
