// The weighing board's side of the serial line, as one plain model.
//
// The model is handed the bytes the PC wrote, with the rate they were sent
// at and the time they started on the line, and answers with the frames the
// board sends back and when it starts sending each. It knows nothing of
// ports or threads: the in-process test device and the boardsim program
// both drive this one class.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace boardsim {

// The board's seven settings, as positions in their lists: baud rate,
// transmission mode, protocol, zero tracking, decimal places, capacity,
// division.
using Settings = std::array<int, 7>;
enum SettingIndex { BaudSetting, ModeSetting, ProtocolSetting, ZeroTrackSetting, DecimalsSetting,
                    CapacitySetting, DivisionSetting };

inline constexpr Settings FactorySettings = {3, 2, 0, 2, 3, 3, 3};

// Line rate of a baud-rate position: 0 1200, 1 2400, 2 4800, 3 9600.
int BaudOfPosition(int position);

// Time of one byte (start bit, 8 data bits, stop bit) on the line.
int64_t ByteMicros(int baud);

// What a receiver set to rxBaud reads from bytes sent back to back at
// txBaud: the same bytes when the rates agree, otherwise what its UART
// samples from the sender's bit stream (garbage, or nothing).
std::string Garble(const std::string& bytes, int txBaud, int rxBaud);

// Faults a test or the command line can switch on.
struct Faults {
    bool silent = false;       // never sends anything
    int cutBytes = 0;          // each reply loses this many leading bytes
    int noiseBytes = 0;        // bytes of noise put into each reply
    int noiseAt = 0;           // where in the reply the noise goes (0: before it)
    int repliesPerPoll = 1;    // frames sent for each "P0" or "N5"
    int wrongBaud = 0;         // > 0: everything is sent at this rate
    int every = 1;             // cut and noise touch every n-th frame only
};

struct Options {
    double weight = 0;           // load on the platform, in the display unit
    double driftPerSecond = 0;   // > 0: the load moves up and down slowly
    double driftSpan = 1;        // by this much
    std::string unit = "kg";     // "kg", "lb", "g"
    char edition = 'V';          // 'V' or 'Y' in the version reply
    std::string version = "A2.34.56";  // letter, digit, ".", 2 digits, ".", 2 digits
    Settings settings = FactorySettings;
    int continuousMs = 0;        // > 0: weight frames unasked at this interval
    int replyDelayMicros = 2000; // from the end of a command to the reply
    Faults faults{};
};

// One frame on its way to the PC.
struct Frame {
    int64_t atMicros;   // when its first byte starts on the line
    int baud;           // the rate it is sent at
    std::string bytes;
};

class BoardModel {
public:
    explicit BoardModel(Options options = {});

    // The PC wrote bytes at pcBaud, the first starting at startMicros.
    // Returns the frames the board sends in answer.
    std::vector<Frame> hear(const std::string& bytes, int pcBaud, int64_t startMicros);
    // Frames sent unasked (continuous transmission) that start at or before
    // nowMicros.
    std::vector<Frame> unasked(int64_t nowMicros);
    // When the next unasked frame is due; -1 when none will be.
    int64_t nextUnaskedMicros() const;
    // The PC closed or opened the line: partial commands are forgotten.
    void lineReset(int64_t nowMicros);

    // --- state ---------------------------------------------------------
    const Settings& settings() const { return settings_; }
    int baud() const { return BaudOfPosition(settings_[BaudSetting]); }
    Options& options() { return options_; }
    Faults& faults() { return options_.faults; }
    // Puts a load on the platform now (the display settles after 500 ms).
    void setLoad(double weight, int64_t nowMicros);
    double load(int64_t nowMicros) const;
    // The raw reading of the converter.
    int64_t internalCode(int64_t nowMicros) const;
    // Gross and shown weight in the display unit, rounded to the division.
    double grossWeight(int64_t nowMicros) const;
    double shownWeight(int64_t nowMicros) const;
    bool net() const { return net_; }
    // Commands understood, in order, without CR LF; bad ones included.
    const std::vector<std::string>& commands() const { return commands_; }

    // The frames themselves (17 bytes each), for the current state.
    std::string weightFrame(int64_t nowMicros) const;
    std::string internalCodeFrame(int64_t nowMicros) const;
    std::string versionFrame() const;
    std::string settingsFrame() const;

private:
    void command(const std::string& text, int64_t atMicros, std::vector<Frame>& out);
    void send(std::string bytes, int64_t atMicros, std::vector<Frame>& out);
    std::string signLed(double value, int places, bool zero, bool stable) const;
    double step() const;
    bool stable(int64_t nowMicros) const;

    Options options_;
    Settings settings_;
    std::string line_;          // command being received
    int64_t rxFreeMicros_ = 0;  // PC to board line busy until
    int64_t txFreeMicros_ = 0;  // board to PC line busy until
    int64_t nextUnasked_ = -1;
    uint64_t framesSent_ = 0;
    uint32_t noiseState_ = 12345;

    double baseLoad_;
    int64_t loadChangedMicros_ = -1'000'000'000;
    double calZeroCode_;        // converter reading at zero load
    double unitsPerCode_;       // calibration slope
    double zeroAdjust_ = 0;     // set by the zero command
    double tare_ = 0;
    bool net_ = false;
    std::vector<std::string> commands_;
};

}  // namespace boardsim
