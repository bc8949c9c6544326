// The data-arrival handler of the tool on the headless platform, with the
// main window's controls in memory: the per-byte path alone, and whole
// reply frames with their effects on the window. Compare bytes_per_second
// with the line rate: 960 bytes/s at 9600 bit/s.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "headless/machine.h"
#include "headless/session.h"
#include "link/board_tool.h"
#include "link/reply_processing.h"

namespace {

// One tool, started once and left idle in its message loop; the benchmark
// thread calls the handler while the program waits for its next event.
boardtool::BoardTool& Tool() {
    static headless::Machine machine;
    static std::unique_ptr<headless::Session> session;
    static boardtool::BoardTool* tool = nullptr;
    if (!tool) {
        boardtool::OnToolCreated = [](boardtool::BoardTool& t) { tool = &t; };
        session = std::make_unique<headless::Session>(machine);
        session->start(boardtool::BoardToolMain);
        if (!tool) throw std::runtime_error("the tool did not start");
    }
    return *tool;
}

// "+0001.50kg  110" CR LF with the weight field given.
std::string WeightFrame(const std::string& field) { return "+" + field + "kg  110\r\n"; }

// Feeds the stream byte by byte, over and over. Every 4096 passes the
// receive box is emptied, as the test reset does, so its text stays the
// size an operator would see.
void Feed(benchmark::State& state, const std::string& stream) {
    boardtool::BoardTool& tool = Tool();
    tool.ReceiveBox.setText("");
    int64_t passes = 0;
    for (auto _ : state) {
        for (unsigned char b : stream) boardtool::ByteArrived(tool, b);
        if (++passes % 4096 == 0) tool.ReceiveBox.setText("");
    }
    state.SetBytesProcessed(passes * static_cast<int64_t>(stream.size()));
    state.counters["frames_per_second"] = benchmark::Counter(
        static_cast<double>(passes) * static_cast<double>(stream.size()) / 17.0,
        benchmark::Counter::kIsRate);
    benchmark::DoNotOptimize(tool.GoodCount);
}

// Bytes that never make a CR LF pair: the shift and the two comparisons.
void BM_PerByteNoFrame(benchmark::State& state) {
    std::string noise;
    for (int i = 0; i < 17 * 16; ++i) noise.push_back(static_cast<char>('0' + i % 40));
    Feed(state, noise);
}
BENCHMARK(BM_PerByteNoFrame);

// The same weight again and again: the display is not rewritten.
void BM_WeightFramesSteady(benchmark::State& state) { Feed(state, WeightFrame("0001.50")); }
BENCHMARK(BM_WeightFramesSteady);

// A weight that moves every frame, with new minima and maxima along the way.
void BM_WeightFramesMoving(benchmark::State& state) {
    std::string stream;
    for (const char* w : {"0001.50", "0001.40", "0001.60", "0001.55", "0001.45", "0001.70",
                          "0001.35", "0001.52"})
        stream += WeightFrame(w);
    Feed(state, stream);
}
BENCHMARK(BM_WeightFramesMoving);

// A settings reply: seven selections and the capacity relabelling.
// The positions travel as byte values 0 to 9 (factory defaults here).
void BM_SettingsFrames(benchmark::State& state) {
    const char frame[] = {'R', '1', 3, 0, 2, 0, 0, 0, 2, 0, 3, 0, 3, 0, 3, '\r', '\n'};
    Feed(state, std::string(frame, sizeof frame));
}
BENCHMARK(BM_SettingsFrames);

}  // namespace

BENCHMARK_MAIN();
