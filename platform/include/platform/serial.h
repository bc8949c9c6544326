// The serial port as the programs use it.
#pragma once

#include <functional>
#include <string>

namespace platform {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Stored for the next open; a number below 1 is taken as 1.
    void setPortNumber(int n) { portNumber_ = n < 1 ? 1 : n; }
    int portNumber() const { return portNumber_; }
    // A negative rate is taken as 0.
    void setBaudRate(int bps) { baudRate_ = bps < 0 ? 0 : bps; }
    int baudRate() const { return baudRate_; }

    // Closes the port first if it is open, then opens the device
    // exclusively with 8N1, no flow control, DTR and RTS off; discards
    // what the driver holds and starts receiving. 1 on success, 0 on
    // failure (the port then stays closed).
    virtual int open() = 0;
    // Stops receiving and releases the device; bytes not yet delivered are
    // discarded. Closing a closed port does nothing.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // One blocking write; the driver's queues are purged before it. False
    // (and nothing sent) on a closed port.
    virtual bool send(const std::string& bytes) = 0;

    // Raised on the GUI thread once per received byte, in arrival order.
    std::function<void(int byte)> DataArrived;
    // Line errors and modem-line changes.
    std::function<void(int status)> StatusChanged;

private:
    int portNumber_ = 1;
    int baudRate_ = 9600;
};

}  // namespace platform
