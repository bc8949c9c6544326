#include "headless_board.h"

#include <algorithm>

namespace boardsim {

HeadlessBoard::HeadlessBoard(headless::Machine& machine, Options options)
    : machine_(machine), model_(std::move(options)) {}

bool HeadlessBoard::opened(headless::SerialLink& link, int) {
    link_ = &link;
    ++session_;
    ++opens;
    model_.lineReset(link.nowMicros());
    scheduleUnasked();
    return true;
}

void HeadlessBoard::closed() {
    link_ = nullptr;
    ++session_;
}

void HeadlessBoard::written(headless::SerialLink& link, const std::string& bytes, int baud) {
    deliver(link, model_.hear(bytes, baud, link.nowMicros()));
}

void HeadlessBoard::deliver(headless::SerialLink& link, const std::vector<Frame>& frames) {
    for (const Frame& f : frames) {
        std::string bytes = Garble(f.bytes, f.baud, link.baud());
        if (!bytes.empty()) link.toPc(bytes, std::max<int64_t>(0, f.atMicros - link.nowMicros()));
    }
}

void HeadlessBoard::scheduleUnasked() {
    int64_t next = model_.nextUnaskedMicros();
    if (next < 0) return;
    uint64_t session = session_;
    machine_.at(next, [this, session] {
        if (session != session_ || !link_) return;
        deliver(*link_, model_.unasked(machine_.nowMicros));
        scheduleUnasked();
    });
}

}  // namespace boardsim
