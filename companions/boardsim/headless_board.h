// The virtual board as an in-process serial device of the headless
// platform: attach it to a port number of a headless::Machine.
#pragma once

#include <cstdint>

#include "board_model.h"
#include "headless/machine.h"

namespace boardsim {

class HeadlessBoard : public headless::SerialDevice {
public:
    explicit HeadlessBoard(headless::Machine& machine, Options options = {});

    BoardModel& model() { return model_; }
    bool isOpen() const { return link_ != nullptr; }
    // Opens that succeeded (a port scan counts too).
    int opens = 0;

    bool opened(headless::SerialLink& link, int baud) override;
    void closed() override;
    void written(headless::SerialLink& link, const std::string& bytes, int baud) override;

private:
    void deliver(headless::SerialLink& link, const std::vector<Frame>& frames);
    void scheduleUnasked();

    headless::Machine& machine_;
    BoardModel model_;
    headless::SerialLink* link_ = nullptr;
    uint64_t session_ = 0;  // bumped on every open and close
};

}  // namespace boardsim
