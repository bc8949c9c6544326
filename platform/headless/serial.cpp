// Serial ports whose far ends are in-process devices attached by number.
#include <algorithm>

#include "internal.h"

namespace headless {

HSerialPort::~HSerialPort() {
    close();
    auto& ps = loop_.ports;
    ps.erase(std::remove(ps.begin(), ps.end(), this), ps.end());
}

int HSerialPort::open() {
    close();
    auto it = machine_.serialDevices.find(portNumber());
    if (it == machine_.serialDevices.end() || !it->second) return 0;
    for (HSerialPort* other : loop_.ports)
        if (other != this && other->open_ && other->openedNumber_ == portNumber()) return 0;
    if (!it->second->opened(*this, baudRate())) return 0;
    open_ = true;
    openedNumber_ = portNumber();
    device_ = it->second;
    plug_ = machine_.serialPlugs[openedNumber_];
    rx.clear();
    lineBusyUntil_ = machine_.nowMicros;
    if (std::find(loop_.ports.begin(), loop_.ports.end(), this) == loop_.ports.end())
        loop_.ports.push_back(this);
    return 1;
}

void HSerialPort::close() {
    if (!open_) return;
    open_ = false;
    rx.clear();
    bool wasPlugged = plugged();
    SerialDevice* d = device_;
    device_ = nullptr;
    if (d && wasPlugged) d->closed();
}

bool HSerialPort::plugged() const {
    auto it = machine_.serialPlugs.find(openedNumber_);
    return device_ && it != machine_.serialPlugs.end() && it->second == plug_;
}

bool HSerialPort::send(const std::string& bytes) {
    if (!open_ || !plugged()) return false;
    machine_.serialWritten[openedNumber_].push_back({machine_.nowMicros, baudRate(), bytes});
    device_->written(*this, bytes, baudRate());
    return true;
}

void HSerialPort::toPc(const std::string& bytes, int64_t delayMicros) {
    if (!open_ || !plugged()) return;
    int64_t byteTime = baudRate() > 0 ? 10'000'000 / baudRate() : 1000;
    int64_t t = std::max(machine_.nowMicros + delayMicros, lineBusyUntil_);
    for (unsigned char c : bytes) {
        t += byteTime;
        rx.push_back({t, machine_.nextSeq++, c});
    }
    lineBusyUntil_ = t;
}

std::unique_ptr<platform::SerialPort> HeadlessServices::createSerialPort() {
    auto p = std::make_unique<HSerialPort>(loop.machine, loop);
    loop.ports.push_back(p.get());
    return p;
}

}  // namespace headless
