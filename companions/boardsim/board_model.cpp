#include "board_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace boardsim {

namespace {

// The converter as it leaves the factory: its reading at an empty platform
// and its counts per display unit.
constexpr double FactoryZeroCode = 52000;
constexpr double FactoryCodesPerUnit = 2000;
constexpr int64_t SettleMicros = 500'000;
constexpr size_t LongestCommand = 64;

const int DivisionValues[9] = {1, 2, 5, 1, 2, 5, 10, 20, 50};

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string UnitBytes(const std::string& unit) {
    std::string u = unit.substr(0, 2);
    while (u.size() < 2) u += ' ';
    return u;
}

// The command a line ends with: garbage heard before it (at a wrong rate,
// after a noise burst) does not hide it. A line that ends with no command
// stays as it is and is ignored.
std::string CommandAtEnd(const std::string& line) {
    auto tail = [&line](size_t n) { return line.size() >= n ? line.substr(line.size() - n) : std::string(); };
    std::string t = tail(17);
    if (t.size() == 17 && t[0] == 'W' && AllDigits(t.substr(1))) return t;
    t = tail(10);
    if (t.size() == 10 && t.compare(0, 3, "CAL") == 0 && AllDigits(t.substr(3))) return t;
    t = tail(2);
    for (const char* c : {"P0", "N5", "V6", "R1", "T3", "Z4", "Q7"})
        if (t == c) return t;
    return line;
}

}  // namespace

int BaudOfPosition(int position) {
    static const int rates[4] = {1200, 2400, 4800, 9600};
    return rates[Clamp(position, 0, 3)];
}

int64_t ByteMicros(int baud) { return baud > 0 ? 10'000'000 / baud : 10'000; }

std::string Garble(const std::string& bytes, int txBaud, int rxBaud) {
    if (txBaud == rxBaud) return bytes;
    if (txBaud <= 0 || rxBaud <= 0) return std::string();
    // The sender's line level, one entry per bit it sends.
    std::vector<int> bits;
    for (unsigned char c : bytes) {
        bits.push_back(0);
        for (int i = 0; i < 8; ++i) bits.push_back((c >> i) & 1);
        bits.push_back(1);
    }
    auto level = [&bits](double x) {
        if (x < 0) return 1;
        size_t k = static_cast<size_t>(std::floor(x));
        return k < bits.size() ? bits[k] : 1;
    };
    // The receiver: waits for a falling edge, checks the start bit in its
    // middle, samples eight data bits and the stop bit at its own rate.
    const double rxBit = static_cast<double>(txBaud) / rxBaud;  // in sender bits
    std::string out;
    double t = 0;
    for (;;) {
        size_t k = static_cast<size_t>(std::ceil(t));
        while (k < bits.size() && !(bits[k] == 0 && (k == 0 || bits[k - 1] == 1))) ++k;
        if (k >= bits.size()) break;
        double edge = static_cast<double>(k);
        if (level(edge + rxBit / 2) != 0) {
            t = edge + 1;
            continue;
        }
        int value = 0;
        for (int i = 0; i < 8; ++i)
            if (level(edge + rxBit * (1.5 + i))) value |= 1 << i;
        out += static_cast<char>(value);
        t = edge + rxBit * 9.5;
    }
    return out;
}

BoardModel::BoardModel(Options options)
    : options_(std::move(options)),
      settings_(options_.settings),
      baseLoad_(options_.weight),
      calZeroCode_(FactoryZeroCode),
      unitsPerCode_(1.0 / FactoryCodesPerUnit) {}

void BoardModel::lineReset(int64_t nowMicros) {
    line_.clear();
    rxFreeMicros_ = nowMicros;
    txFreeMicros_ = nowMicros;
    nextUnasked_ = options_.continuousMs > 0 ? nowMicros + int64_t(options_.continuousMs) * 1000 : -1;
}

void BoardModel::setLoad(double weight, int64_t nowMicros) {
    baseLoad_ = weight;
    loadChangedMicros_ = nowMicros;
}

double BoardModel::load(int64_t nowMicros) const {
    double rate = options_.driftPerSecond, span = options_.driftSpan;
    if (rate <= 0 || span <= 0) return baseLoad_;
    double phase = std::fmod(static_cast<double>(nowMicros) / 1e6 * rate, 2 * span);
    return baseLoad_ + (phase <= span ? phase : 2 * span - phase);
}

int64_t BoardModel::internalCode(int64_t nowMicros) const {
    return std::llround(FactoryZeroCode + load(nowMicros) * FactoryCodesPerUnit);
}

double BoardModel::step() const {
    int places = Clamp(settings_[DecimalsSetting], 0, 4);
    return DivisionValues[Clamp(settings_[DivisionSetting], 0, 8)] * std::pow(10.0, -places);
}

namespace {
double RoundTo(double v, double step) { return std::round(v / step) * step; }
}  // namespace

double BoardModel::grossWeight(int64_t nowMicros) const {
    double exact = (static_cast<double>(internalCode(nowMicros)) - calZeroCode_) * unitsPerCode_ - zeroAdjust_;
    return RoundTo(exact, step());
}

double BoardModel::shownWeight(int64_t nowMicros) const {
    return RoundTo(grossWeight(nowMicros) - (net_ ? tare_ : 0), step());
}

bool BoardModel::stable(int64_t nowMicros) const {
    if (nowMicros - loadChangedMicros_ < SettleMicros) return false;
    return options_.driftPerSecond * (SettleMicros / 1e6) < step();
}

std::string BoardModel::signLed(double value, int places, bool zero, bool isStable) const {
    char field[64];
    std::snprintf(field, sizeof field, "%0*.*f", 7, places, std::fabs(value));
    std::string digits = field;
    if (digits.size() > 7) {  // overload: the field shows nines
        digits.assign(7, '9');
        if (places > 0) digits[static_cast<size_t>(6 - places)] = '.';
    }
    std::string frame;
    frame += value < 0 ? '-' : '+';
    frame += digits;
    frame += UnitBytes(options_.unit);
    frame += net_ ? "NT" : "GS";
    frame += zero ? '1' : '0';
    frame += net_ ? '1' : '0';
    frame += isStable ? '1' : '0';
    frame += "\r\n";
    return frame;
}

std::string BoardModel::weightFrame(int64_t nowMicros) const {
    int places = Clamp(settings_[DecimalsSetting], 0, 4);
    bool zero = std::fabs(grossWeight(nowMicros)) < step() / 2;
    return signLed(shownWeight(nowMicros), places, zero, stable(nowMicros));
}

std::string BoardModel::internalCodeFrame(int64_t nowMicros) const {
    bool zero = std::fabs(grossWeight(nowMicros)) < step() / 2;
    return signLed(static_cast<double>(std::min<int64_t>(internalCode(nowMicros), 9'999'999)), 0, zero,
                   stable(nowMicros));
}

std::string BoardModel::versionFrame() const {
    // "A2.34.56" goes out as the digits 0123456 after "+": the tool reads
    // the second digit, then two, then the last two.
    const std::string& v = options_.version;
    char letter = v.empty() ? 'A' : v[0];
    std::string digits;
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i] >= '0' && v[i] <= '9') digits += v[i];
    digits = ("00000" + digits);
    digits = "01" + digits.substr(digits.size() - 5);
    std::string frame = "+" + digits;
    frame += options_.edition;
    frame += letter;
    frame += "     \r\n";
    return frame;
}

std::string BoardModel::settingsFrame() const {
    std::string frame = "R";
    frame += '\0';
    frame += static_cast<char>(Clamp(settings_[BaudSetting], 0, 9));
    for (int i = 1; i < 7; ++i) {
        int p = Clamp(settings_[i], 0, 99);
        frame += static_cast<char>(p / 10);
        frame += static_cast<char>(p % 10);
    }
    frame += "\r\n";
    return frame;
}

void BoardModel::send(std::string bytes, int64_t atMicros, std::vector<Frame>& out) {
    const Faults& f = options_.faults;
    if (f.silent) return;
    ++framesSent_;
    if (f.every <= 1 || framesSent_ % static_cast<uint64_t>(f.every) == 0) {
        bytes.erase(0, std::min(bytes.size(), static_cast<size_t>(std::max(f.cutBytes, 0))));
        std::string noise;
        for (int i = 0; i < f.noiseBytes; ++i) {
            char c;
            do {
                noiseState_ = noiseState_ * 1103515245u + 12345u;
                c = static_cast<char>((noiseState_ >> 16) & 0xFF);
            } while (c == '\r' || c == '\n');
            noise += c;
        }
        bytes.insert(std::min(bytes.size(), static_cast<size_t>(std::max(f.noiseAt, 0))), noise);
    }
    if (bytes.empty()) return;
    int rate = f.wrongBaud > 0 ? f.wrongBaud : baud();
    int64_t at = std::max(atMicros, txFreeMicros_);
    txFreeMicros_ = at + static_cast<int64_t>(bytes.size()) * ByteMicros(rate);
    out.push_back({at, rate, std::move(bytes)});
}

void BoardModel::command(const std::string& text, int64_t atMicros, std::vector<Frame>& out) {
    commands_.push_back(text);
    int64_t replyAt = atMicros + options_.replyDelayMicros;
    if (text == "P0" || text == "N5") {
        for (int i = 0; i < options_.faults.repliesPerPoll; ++i)
            send(text == "P0" ? weightFrame(atMicros) : internalCodeFrame(atMicros), replyAt, out);
    } else if (text == "V6") {
        send(versionFrame(), replyAt, out);
    } else if (text == "R1") {
        send(settingsFrame(), replyAt, out);
    } else if (text == "T3") {
        tare_ = grossWeight(atMicros);
        net_ = true;
    } else if (text == "Q7") {
        tare_ = 0;
        net_ = false;
    } else if (text == "Z4") {
        zeroAdjust_ = (static_cast<double>(internalCode(atMicros)) - calZeroCode_) * unitsPerCode_;
        tare_ = 0;
        net_ = false;
    } else if (text.size() == 10 && text.compare(0, 3, "CAL") == 0 && AllDigits(text.substr(3))) {
        int places = Clamp(settings_[DecimalsSetting], 0, 4);
        double weight = std::stod(text.substr(3)) / std::pow(10.0, places);
        double code = static_cast<double>(internalCode(atMicros));
        if (weight == 0) {
            calZeroCode_ = code;
        } else if (code != calZeroCode_) {
            unitsPerCode_ = weight / (code - calZeroCode_);
        }
        zeroAdjust_ = 0;
        tare_ = 0;
        net_ = false;
    } else if (text.size() == 17 && text[0] == 'W' && AllDigits(text.substr(1))) {
        auto two = [&text](size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
        Settings s;
        int sum = 0;
        for (size_t i = 0; i < 7; ++i) sum += s[i] = two(1 + 2 * i);
        if (sum == two(15)) settings_ = s;  // a bad check sum is ignored
    }
}

std::vector<Frame> BoardModel::hear(const std::string& bytes, int pcBaud, int64_t startMicros) {
    std::vector<Frame> out;
    if (bytes.empty()) return out;
    int64_t start = std::max(startMicros, rxFreeMicros_);
    int64_t duration = static_cast<int64_t>(bytes.size()) * ByteMicros(pcBaud);
    rxFreeMicros_ = start + duration;
    // At another rate than its own the board's UART reads garbage.
    std::string heard = Garble(bytes, pcBaud, baud());
    for (size_t i = 0; i < heard.size(); ++i) {
        int64_t at = start + duration * static_cast<int64_t>(i + 1) / static_cast<int64_t>(heard.size());
        char c = heard[i];
        if (c == '\n') {
            std::string text = line_;
            line_.clear();
            if (!text.empty() && text.back() == '\r') text.pop_back();
            command(CommandAtEnd(text), at, out);
        } else {
            if (line_.size() >= LongestCommand) line_.erase(0, 1);
            line_ += c;
        }
    }
    return out;
}

int64_t BoardModel::nextUnaskedMicros() const { return options_.continuousMs > 0 ? nextUnasked_ : -1; }

std::vector<Frame> BoardModel::unasked(int64_t nowMicros) {
    std::vector<Frame> out;
    if (options_.continuousMs <= 0 || nextUnasked_ < 0) return out;
    int64_t interval = int64_t(options_.continuousMs) * 1000;
    if (nowMicros - nextUnasked_ > 10 * interval) nextUnasked_ = nowMicros;  // long pause: no backlog
    while (nextUnasked_ <= nowMicros) {
        send(weightFrame(nextUnasked_), nextUnasked_, out);
        nextUnasked_ += interval;
    }
    return out;
}

}  // namespace boardsim
