// Fuzz target: byte streams from the board. The tool is started once, with
// a device on COM1 and the port open; every input then goes through the
// data-arrival handler twice: byte by byte on the program thread, and over
// the line from the device, so the port's receive queue and the event loop
// deliver it as well. Nothing may crash, hang or grow without bound.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "headless/controls.h"
#include "headless/session.h"
#include "link/board_tool.h"
#include "link/reply_processing.h"

namespace {

// The far end of COM1: takes whatever the tool sends and keeps the line.
struct LineDevice : headless::SerialDevice {
    headless::SerialLink* link = nullptr;
    bool opened(headless::SerialLink& l, int) override {
        link = &l;
        return true;
    }
    void closed() override { link = nullptr; }
    void written(headless::SerialLink&, const std::string&, int) override {}
};

struct Bench {
    headless::Machine machine;
    LineDevice device;
    boardtool::BoardTool* tool = nullptr;
    std::unique_ptr<headless::Session> session;

    Bench() {
        machine.attachSerial(1, &device);
        boardtool::OnToolCreated = [this](boardtool::BoardTool& t) { tool = &t; };
        session = std::make_unique<headless::Session>(machine);
        session->start(boardtool::BoardToolMain);
        session->click("MainWindow", "OpenButton");
        session->advance(3000);  // the open sequence and its report
        if (!tool || !device.link) {
            std::fprintf(stderr, "frames target: the tool did not open COM1\n");
            std::abort();
        }
    }
    ~Bench() {
        session.reset();
        boardtool::OnToolCreated = nullptr;
    }
};

Bench& TheBench() {
    static Bench bench;
    return bench;
}

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "frames target: %s\n", what);
    std::abort();
}

// What must hold after any stream: the activity marker is bounded, the
// counters stay sane and the tool still has its port open.
void CheckInvariants(Bench& b) {
    boardtool::BoardTool& t = *b.tool;
    Check(t.StatusLabel.text().size() < 200,
          "the activity marker grows without bound");
    Check(t.GoodCount >= 0 && t.SentCount >= 0, "a counter went negative");
    Check(b.session->running(), "the tool ended");
    Check(!b.session->openBox(), "a message box opened");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bench& b = TheBench();
    std::string bytes(reinterpret_cast<const char*>(data), size);

    // The first byte's low bit picks the internal-code view, so both
    // decodings of sign-led frames are reached.
    bool internal = size > 0 && (data[0] & 1);
    if (b.tool->InternalCodeCheck.checked() != internal) b.session->click("MainWindow", "InternalCodeCheck");
    b.session->click("MainWindow", "ResetTestButton");  // keeps ReceiveBox small

    b.session->onProgramThread([&] {
        for (unsigned char c : bytes) boardtool::ByteArrived(*b.tool, c);
    });
    CheckInvariants(b);

    // The same stream over the line: ten bit times per byte at the port's
    // rate, plus time for the last poll's pieces.
    b.device.link->toPc(bytes);
    int64_t micros = static_cast<int64_t>(size) * 10'000'000 / std::max(b.device.link->baud(), 1);
    b.session->advance(static_cast<int>(micros / 1000) + 2);
    CheckInvariants(b);
    return 0;
}
