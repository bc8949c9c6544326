// All services of the platform, handed to a program at its entry.
#pragma once

#include <memory>

#include "platform/files.h"
#include "platform/serial.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace platform {

// Raised whenever the services change in a way a program built against an
// older set cannot use.
constexpr int InterfaceVersion = 1;

class Services {
public:
    virtual ~Services() = default;
    virtual Ui& ui() = 0;
    virtual Files& files() = 0;
    virtual Processes& processes() = 0;
    virtual Clock& clock() = 0;
    virtual Registry& registry() = 0;
    virtual Shell& shell() = 0;
    virtual Libraries& libraries() = 0;
    virtual std::unique_ptr<SerialPort> createSerialPort() = 0;
};

}  // namespace platform
