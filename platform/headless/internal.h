// Internals of the headless backend, shared by its source files.
#pragma once

#include <deque>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "headless/machine.h"
#include "headless/session.h"
#include "platform/services.h"

namespace headless {

class HWindow;
class HTimer;
class HSerialPort;

class HeadlessUi;

std::unique_ptr<platform::Files> MakeFiles(Machine& m);
std::unique_ptr<platform::Registry> MakeRegistry(Machine& m, platform::Files& files);
std::unique_ptr<platform::Shell> MakeShell(Machine& m, platform::Files& files);
std::unique_ptr<platform::Libraries> MakeLibraries(Machine& m);
std::unique_ptr<platform::Processes> MakeProcesses(Machine& m);
std::unique_ptr<platform::Clock> MakeClock(Machine& m);

// The event loop: one queue of everything that can happen on the program's
// thread, ordered by virtual time and then by the order it was scheduled.
class EventLoop {
public:
    EventLoop(Machine& m, Session& s) : machine(m), session(s) {}

    // Dispatches one event due now, or a posted test action; false if none.
    bool dispatchOne();
    // Runs events in time order up to the target time, then sets the clock.
    void runUntil(int64_t targetMicros);
    // Waits in a (nested) message loop until done() holds.
    void loopUntil(const std::function<bool()>& done);

    Machine& machine;
    Session& session;
    std::vector<HWindow*> windows;  // live windows
    std::vector<HTimer*> timers;
    std::vector<HSerialPort*> ports;
    std::vector<HWindow*> modalStack;  // innermost last
    std::deque<std::function<void()>> internal;  // backend events posted now

private:
    // The earliest scheduled event at or before limit; false if none.
    bool nextDue(int64_t limit, int64_t& when);
    bool runDueAt(int64_t now);
    void fireIdle();
};

struct ReceivedByte {
    int64_t at;
    uint64_t seq;
    int byte;
};

class HSerialPort : public platform::SerialPort, public SerialLink {
public:
    HSerialPort(Machine& m, EventLoop& l) : machine_(m), loop_(l) {}
    ~HSerialPort() override;
    int open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool send(const std::string& bytes) override;
    // SerialLink, for the device at the far end
    void toPc(const std::string& bytes, int64_t delayMicros) override;
    int baud() const override { return baudRate(); }
    int64_t nowMicros() const override { return machine_.nowMicros; }

    std::deque<ReceivedByte> rx;
    // The device this port was opened on is still plugged in.
    bool plugged() const;

private:

    Machine& machine_;
    EventLoop& loop_;
    bool open_ = false;
    int openedNumber_ = 0;
    SerialDevice* device_ = nullptr;
    uint64_t plug_ = 0;  // Machine::serialPlugs of the port at the open
    int64_t lineBusyUntil_ = 0;
};

class HeadlessServices : public platform::Services {
public:
    HeadlessServices(Machine& m, Session& s);
    ~HeadlessServices() override;
    platform::Ui& ui() override;
    platform::Files& files() override { return *files_; }
    platform::Processes& processes() override { return *processes_; }
    platform::Clock& clock() override { return *clock_; }
    platform::Registry& registry() override { return *registry_; }
    platform::Shell& shell() override { return *shell_; }
    platform::Libraries& libraries() override { return *libraries_; }
    std::unique_ptr<platform::SerialPort> createSerialPort() override;

    EventLoop loop;
    HeadlessUi& headlessUi() { return *ui_; }

private:
    std::unique_ptr<HeadlessUi> ui_;
    std::unique_ptr<platform::Files> files_;
    std::unique_ptr<platform::Processes> processes_;
    std::unique_ptr<platform::Clock> clock_;
    std::unique_ptr<platform::Registry> registry_;
    std::unique_ptr<platform::Shell> shell_;
    std::unique_ptr<platform::Libraries> libraries_;
};

// Controls and windows, as seen by the session's checks.
platform::Window* FindWindow(HeadlessServices& s, const std::string& formName);
bool WindowAcceptsInput(HeadlessServices& s, platform::Window& w);

}  // namespace headless
