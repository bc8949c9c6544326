#include "line_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace boardsim {

int64_t Percentile(std::vector<int64_t> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    double rank = std::ceil(std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(values.size()));
    size_t index = rank < 1 ? 0 : static_cast<size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}

bool LineStats::IsWeightFrame(const std::string& b) {
    return b.size() == 17 && (b[0] == '+' || b[0] == '-') && b[8] != 'V' && b[8] != 'Y' && b[15] == '\r' &&
           b[16] == '\n';
}

void LineStats::pollHeard(int64_t atMicros) {
    if (lastPoll_ >= 0) gaps_.push_back(atMicros - lastPoll_);
    lastPoll_ = atMicros;
    ++polls_;
}

void LineStats::frameSent(const std::string& bytes, bool queuedAfterFirstPoll) {
    ++frames_;
    if (!IsWeightFrame(bytes)) return;
    ++weightFrames_;
    lastWeight_ = bytes.substr(0, 15);
    if (queuedAfterFirstPoll) ++weightAfterPoll_;
}

std::string LineStats::report() const {
    auto ms = [](int64_t micros) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(micros) / 1000.0);
        return std::string(buf);
    };
    int64_t largest = gaps_.empty() ? 0 : *std::max_element(gaps_.begin(), gaps_.end());
    std::string r;
    r += "frames_sent " + std::to_string(frames_) + "\n";
    r += "weight_frames_sent " + std::to_string(weightFrames_) + "\n";
    r += "weight_frames_after_first_poll " + std::to_string(weightAfterPoll_) + "\n";
    std::string last = lastWeight_;
    for (char& c : last)
        if (c == ' ') c = '_';
    r += "last_weight_frame " + (last.empty() ? std::string("-") : last) + "\n";
    r += "polls_heard " + std::to_string(polls_) + "\n";
    r += "poll_gaps " + std::to_string(gaps_.size()) + "\n";
    r += "poll_gap_median_ms " + ms(Percentile(gaps_, 50)) + "\n";
    r += "poll_gap_p99_ms " + ms(Percentile(gaps_, 99)) + "\n";
    r += "poll_gap_max_ms " + ms(largest) + "\n";
    return r;
}

}  // namespace boardsim
