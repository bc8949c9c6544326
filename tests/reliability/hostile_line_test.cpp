// A hostile serial line: noise at the full line rate, frames cut short or
// broken by noise, a board that sends ten times more frames than it is
// polled for, and a device that disappears while the port is open. The tool
// keeps polling on time, its display and counters stay within what a frame
// can produce, and the user can still close the port and the window.
#include <gtest/gtest.h>

#include <random>

#include "headless_board.h"
#include "link/board_protocol.h"
#include "link_fixture.h"

namespace {

// Sends seeded noise at the full rate of the line, whatever the PC says.
struct NoiseDevice : headless::SerialDevice {
    headless::Machine& machine;
    std::mt19937 rng;
    std::string alphabet;  // empty: every byte value
    headless::SerialLink* link = nullptr;
    uint64_t session = 0;

    NoiseDevice(headless::Machine& m, unsigned seed, std::string letters)
        : machine(m), rng(seed), alphabet(std::move(letters)) {}
    bool opened(headless::SerialLink& l, int) override {
        link = &l;
        burst(++session);
        return true;
    }
    void closed() override {
        link = nullptr;
        ++session;
    }
    void written(headless::SerialLink&, const std::string&, int) override {}
    // 50 ms of bytes at the port's rate, then the next burst.
    void burst(uint64_t s) {
        if (s != session || !link) return;
        std::string bytes(static_cast<size_t>(std::max(1, link->baud() / 200)), '\0');
        for (char& c : bytes)
            c = alphabet.empty() ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
        link->toPc(bytes);
        machine.at(machine.nowMicros + 50'000, [this, s] { burst(s); });
    }
};

// The number in a counter label such as "测试：12次"; -1 when the label has
// another shape.
long long CounterOf(const std::string& label, const std::string& prefix) {
    const std::string suffix = "次";
    if (label.rfind(prefix, 0) != 0 || label.size() < prefix.size() + suffix.size() + 1 ||
        label.compare(label.size() - suffix.size(), suffix.size(), suffix) != 0)
        return -1;
    std::string digits = label.substr(prefix.size(), label.size() - prefix.size() - suffix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoll(digits);
}

struct HostileLine : LinkTest {
    std::unique_ptr<headless::SerialDevice> far;
    void TearDown() override {
        session.reset();
        far.reset();
    }
    void use(std::unique_ptr<headless::SerialDevice> d) {
        far = std::move(d);
        machine.attachSerial(1, far.get());
    }

    // What holds after any stream, checked every 100 ms: the tool runs
    // without a message box, polls every 200 ms, its counters read as
    // numbers that agree with its state, and the texts are no longer than
    // a frame can make them.
    void runAndCheck(int ms, int64_t pollsBefore) {
        int64_t opened = machine.nowMillis();
        for (int t = 0; t < ms; t += 100) {
            session->advance(100);
            ASSERT_TRUE(session->running());
            ASSERT_EQ(session->openBox(), nullptr);
            boardtool::BoardTool& b = tool();
            int64_t polls = (machine.nowMillis() - opened) / 200;
            EXPECT_NEAR(static_cast<double>(b.SentCount), static_cast<double>(pollsBefore + polls), 1.0);
            // The reset writes no label; the next poll does.
            if (b.SentCount > 0) {
                EXPECT_EQ(CounterOf(text("SentLabel"), "测试："), b.SentCount);
            }
            EXPECT_GE(CounterOf(text("ErrorLabel"), "错误："), 0) << text("ErrorLabel");
            long long good = CounterOf(text("GoodLabel"), "正常：");
            EXPECT_GE(good, 0) << text("GoodLabel");
            // A sign, then at most seven fields of up to three characters.
            EXPECT_LE(text("WeightDisplay").size(), 22u) << text("WeightDisplay");
            EXPECT_LE(text("UnitLabel").size(), 2u);
            EXPECT_LT(text("StatusLabel").size(), 200u);
            if (b.GoodCount > 0) {
                EXPECT_LE(b.MinWeight, b.MaxWeight);
            }
        }
    }
    // The user closes the port, the tool stops polling, and the window closes
    // with a proper port.ini.
    void closeEverything() {
        session->click("MainWindow", "OpenButton");
        EXPECT_EQ(text("OpenButton"), "打开");
        EXPECT_TRUE(get<platform::Control>("PortCombo").enabled());
        int64_t sent = tool().SentCount;
        size_t written = machine.writtenTo(1).size();
        session->advance(1000);
        EXPECT_EQ(tool().SentCount, sent);
        EXPECT_EQ(machine.writtenTo(1).size(), written);
        session->closeWindow("MainWindow");
        EXPECT_FALSE(session->running());
        std::string file = machine.readFile("C:\\Tool\\port.ini").value_or("");
        EXPECT_EQ(file.rfind("ok\r\n", 0), 0u);
        size_t lines = 0;
        for (size_t at = 0; (at = file.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
        EXPECT_EQ(lines, 11u);
    }
};

struct LineCase {
    const char* what;
    std::function<std::unique_ptr<headless::SerialDevice>(headless::Machine&)> device;
    const char* weight;  // what WeightDisplay shows at the end; nullptr: anything sane
    bool noErrors;       // the error count stays 0
};

std::unique_ptr<headless::SerialDevice> Board(headless::Machine& m, boardsim::Options o) {
    return std::make_unique<boardsim::HeadlessBoard>(m, o);
}

TEST_F(HostileLine, ToolStaysSaneAndClosable) {
    const std::string frameBytes = std::string("+-R0123456789.VYkglb \r\n\r\n") + '\0' + '\xFF';
    const LineCase cases[] = {
        {"noise of every byte value",
         [](headless::Machine& m) { return std::make_unique<NoiseDevice>(m, 1, ""); }, nullptr, false},
        {"noise of frame bytes, CR LF often",
         [&](headless::Machine& m) { return std::make_unique<NoiseDevice>(m, 2, frameBytes); }, nullptr, false},
        {"short frames", [](headless::Machine& m) { return Board(m, {.weight = 1.5, .faults = {.cutBytes = 5}}); },
         "---------", false},
        {"two-byte frames",
         [](headless::Machine& m) { return Board(m, {.weight = 1.5, .faults = {.cutBytes = 15}}); }, "---------",
         false},
        {"noise inside every frame",
         [](headless::Machine& m) {
             return Board(m, {.weight = 1.5, .faults = {.noiseBytes = 3, .noiseAt = 8}});
         },
         nullptr, false},
        {"ten frames per poll",
         [](headless::Machine& m) { return Board(m, {.weight = 1.5, .faults = {.repliesPerPoll = 10}}); },
         "1.500", true},
        {"ten frames per poll, every other one cut",
         [](headless::Machine& m) {
             return Board(m, {.weight = 1.5, .faults = {.cutBytes = 4, .repliesPerPoll = 10, .every = 2}});
         },
         nullptr, false},
        {"continuous frames every 20 ms", [](headless::Machine& m) { return Board(m, {.weight = 1.5, .continuousMs = 20}); },
         "1.500", true},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        use(c.device(machine));
        startAndOpen();
        ASSERT_EQ(text("OpenButton"), "关闭");
        session->advance(3000);  // the open sequence and its report
        session->click("MainWindow", "ResetTestButton");
        runAndCheck(20000, 0);
        if (c.weight) {
            EXPECT_EQ(text("WeightDisplay"), c.weight);
        }
        if (c.noErrors) {
            EXPECT_EQ(text("ErrorLabel"), "错误：0次");
            // Cut back to the polls at every poll, then up to eleven frames.
            EXPECT_GE(tool().GoodCount, tool().SentCount - 1);
            EXPECT_LE(tool().GoodCount, tool().SentCount + 11);
        }
        closeEverything();
        session.reset();
        far.reset();
        machine.detachSerial(1);
    }
}

// Unplugged while open, at several moments: the tool keeps running and
// counting unanswered polls, the user closes the port, a reopen with the
// device still gone fails with the usual box, and once it is back the
// board's weight shows again.
TEST_F(HostileLine, DeviceThatDisappearsWhileOpen) {
    struct Case {
        const char* what;
        int unplugAtMs;       // after the open
        bool backBeforeClose;  // plugged in again while the old port is still open
    } cases[] = {
        {"during the connection report", 700, false},
        {"while polling", 4000, false},
        {"while a reply is on the line", 4210, false},
        {"and plugged back in before the close", 4000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* owned = new boardsim::HeadlessBoard(machine, {.weight = 1.5});
        use(std::unique_ptr<headless::SerialDevice>(owned));
        boardsim::HeadlessBoard& board = *owned;
        startAndOpen();
        int64_t opened = machine.nowMillis();
        machine.at((opened + c.unplugAtMs) * 1000, [&] { machine.detachSerial(1); });
        session->advance(c.unplugAtMs + 1);
        int64_t good = tool().GoodCount;
        if (c.backBeforeClose) machine.attachSerial(1, &board);
        session->advance(3000);
        ASSERT_TRUE(session->running());
        EXPECT_EQ(session->openBox(), nullptr);
        EXPECT_EQ(tool().GoodCount, good) << "nothing arrives from the gone device";
        EXPECT_GE(tool().SentCount, 14);  // polling went on
        EXPECT_GT(CounterOf(text("ErrorLabel"), "错误："), 0);
        if (c.unplugAtMs > 3000) {
            EXPECT_EQ(text("WeightDisplay"), "1.500");
        }

        session->click("MainWindow", "OpenButton");  // close
        EXPECT_EQ(text("OpenButton"), "打开");
        EXPECT_EQ(session->openBox(), nullptr);
        if (!c.backBeforeClose) {
            session->click("MainWindow", "OpenButton");
            ASSERT_NE(session->openBox(), nullptr);
            EXPECT_EQ(session->openBox()->text, "端口无法打开，请重新选择端口！");
            session->answer(platform::Answer::Ok);
            EXPECT_EQ(text("OpenButton"), "打开");
            session->advance(1000);
            machine.attachSerial(1, &board);
        }
        board.model().setLoad(2.5, machine.nowMicros);
        session->click("MainWindow", "OpenButton");
        EXPECT_EQ(text("OpenButton"), "关闭");
        session->advance(3000);
        EXPECT_EQ(text("WeightDisplay"), "2.500");
        EXPECT_GT(tool().GoodCount, 0);
        EXPECT_EQ(logLines().front(), ">>>PC端COM1通讯端口打开成功；");
        session->closeWindow("MainWindow");
        EXPECT_FALSE(session->running());
        session.reset();
        far.reset();
        machine.detachSerial(1);
    }
}

}  // namespace
