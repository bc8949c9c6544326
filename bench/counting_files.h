// The services of a session with a file layer that counts what the program
// reads, so a benchmark can show how much of a file a start-up touched.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/services.h"

namespace bench {

class CountingServices : public platform::Services {
public:
    explicit CountingServices(platform::Services& inner);
    ~CountingServices() override;

    // Bytes returned by read() of every file opened through files().
    int64_t bytesRead() const { return bytesRead_; }

    platform::Ui& ui() override { return inner_.ui(); }
    platform::Files& files() override;
    platform::Processes& processes() override { return inner_.processes(); }
    platform::Clock& clock() override { return inner_.clock(); }
    platform::Registry& registry() override { return inner_.registry(); }
    platform::Shell& shell() override { return inner_.shell(); }
    platform::Libraries& libraries() override { return inner_.libraries(); }
    std::unique_ptr<platform::SerialPort> createSerialPort() override {
        return inner_.createSerialPort();
    }

private:
    platform::Services& inner_;
    std::unique_ptr<platform::Files> files_;
    int64_t bytesRead_ = 0;
};

}  // namespace bench
