// COM ports: "\\.\COMn" opened exclusively with overlapped I/O; a receiver
// thread queues the bytes and wakes the GUI thread, which raises one
// data-arrival event per byte.
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "internal.h"
#include "line_settings.h"

namespace win32 {

using namespace platform;

namespace {

class W32SerialPort;

// Ports the GUI thread can deliver to; a wake-up for a port that is gone
// finds nothing.
std::map<WPARAM, W32SerialPort*> livePorts;
WPARAM nextPortId = 1;

constexpr DWORD WatchedEvents = EV_RXCHAR | EV_CTS | EV_DSR | EV_RLSD | EV_BREAK | EV_ERR | EV_RING;
constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

class W32SerialPort : public SerialPort {
public:
    explicit W32SerialPort(HWND wake) : wake_(wake), id_(nextPortId++) { livePorts[id_] = this; }
    ~W32SerialPort() override {
        close();
        livePorts.erase(id_);
    }

    int open() override {
        close();
        std::wstring device = L"\\\\.\\COM" + std::to_wstring(portNumber());
        HANDLE h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
        if (h == INVALID_HANDLE_VALUE) return 0;
        if (!configure(h)) {
            CloseHandle(h);
            return 0;
        }
        PurgeComm(h, PurgeAll);
        handle_ = h;
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        receiver_ = std::thread([this] { receive(); });
        return 1;
    }

    void close() override {
        if (handle_ == INVALID_HANDLE_VALUE) return;
        SetEvent(stop_);
        SetCommMask(handle_, 0);  // ends a pending wait for events
        if (receiver_.joinable()) receiver_.join();
        CloseHandle(stop_);
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        std::lock_guard<std::mutex> lk(mutex_);
        queue_.clear();
        statuses_.clear();
    }

    bool isOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

    bool send(const std::string& bytes) override {
        if (!isOpen()) return false;
        PurgeComm(handle_, PurgeAll);
        if (bytes.empty()) return true;
        OVERLAPPED ov{};
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DWORD written = 0;
        BOOL ok = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &ov);
        if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(handle_, &ov, &written, TRUE);
        CloseHandle(ov.hEvent);
        return ok && written == bytes.size();
    }

    // On the GUI thread: one event per queued byte, in order. A handler may
    // pump messages or close the port; the queue is read afresh each time.
    void deliver() {
        for (;;) {
            int byte;
            {
                std::lock_guard<std::mutex> lk(mutex_);
                if (queue_.empty()) return;
                byte = queue_.front();
                queue_.pop_front();
            }
            if (DataArrived) DataArrived(byte);
        }
    }

    void deliverStatus() {
        for (;;) {
            int status;
            {
                std::lock_guard<std::mutex> lk(mutex_);
                if (statuses_.empty()) return;
                status = statuses_.front();
                statuses_.pop_front();
            }
            if (StatusChanged) StatusChanged(status);
        }
    }

private:
    bool configure(HANDLE h) {
        COMMTIMEOUTS t{1000, 1000, 1000, 1000, 1000};
        if (!SetCommTimeouts(h, &t)) return false;
        if (!SetCommMask(h, WatchedEvents)) return false;
        return ApplyLineSettings(h, static_cast<DWORD>(baudRate()));
    }

    // Cancels the pending request and waits for the driver to end it; a
    // driver that does not within a second may still write into the
    // request, which is then left to it (abandoned). False then.
    bool cancel(OVERLAPPED& ov) {
        CancelIo(handle_);
        if (WaitForSingleObject(ov.hEvent, 1000) == WAIT_OBJECT_0) return true;
        abandoned_ = true;
        return false;
    }

    enum class Waited { Done, Failed, Stopped };

    // Waits for an overlapped operation or the stop request.
    Waited wait(OVERLAPPED& ov, DWORD& transferred) {
        HANDLE both[2] = {ov.hEvent, stop_};
        DWORD r = WaitForMultipleObjects(2, both, FALSE, INFINITE);
        if (r != WAIT_OBJECT_0) {
            cancel(ov);
            return Waited::Stopped;
        }
        return GetOverlappedResult(handle_, &ov, &transferred, FALSE) ? Waited::Done : Waited::Failed;
    }

    // A read of bytes the driver had counted, but which a send's purge took
    // away meanwhile, may wait longer than the timeouts say (Wine on a
    // pseudo-terminal never ends it). After a short while it is cancelled;
    // bytes it got before the cancel are kept. False on stop.
    bool waitRead(OVERLAPPED& ov, DWORD& got) {
        HANDLE both[2] = {ov.hEvent, stop_};
        DWORD r = WaitForMultipleObjects(2, both, FALSE, ReadPatienceMs);
        if (r == WAIT_OBJECT_0) {
            if (!GetOverlappedResult(handle_, &ov, &got, FALSE)) got = 0;
            return true;
        }
        if (!cancel(ov)) return false;
        if (!GetOverlappedResult(handle_, &ov, &got, FALSE)) got = 0;
        return r != WAIT_OBJECT_0 + 1;  // not stopped
    }
    static constexpr DWORD ReadPatienceMs = 100;

    void receive() {
        // On the heap: a driver that never completes a cancelled request
        // may still write into it after the thread has gone.
        OVERLAPPED& ov = *new OVERLAPPED{};
        ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        auto& buffer = *new std::vector<unsigned char>;  // the same for what it reads into
        for (;;) {
            if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) break;
            DWORD mask = 0, n = 0;
            ResetEvent(ov.hEvent);
            if (!WaitCommEvent(handle_, &mask, &ov)) {
                if (GetLastError() == ERROR_IO_PENDING) {
                    Waited w = wait(ov, n);
                    if (w == Waited::Stopped) break;
                    // A wait that ended in an error (a purge can end it)
                    // says nothing of the input: look at what is there.
                    if (w == Waited::Failed) mask = EV_RXCHAR;
                } else {
                    // A driver that cannot wait for events: look for input
                    // every few milliseconds instead.
                    if (WaitForSingleObject(stop_, 5) == WAIT_OBJECT_0) break;
                    mask = EV_RXCHAR;
                }
            }
            if (mask & EV_RXCHAR) {
                if (!readAvailable(ov, buffer)) break;
            }
            DWORD status = mask & ~static_cast<DWORD>(EV_RXCHAR);
            if (status) {
                DWORD errors = 0;
                ClearCommError(handle_, &errors, nullptr);
                {
                    std::lock_guard<std::mutex> lk(mutex_);
                    statuses_.push_back(static_cast<int>(status | (errors << 16)));
                }
                PostMessageW(wake_, WM_SERIAL_STATUS, id_, 0);
            }
        }
        if (!abandoned_) {
            CloseHandle(ov.hEvent);
            delete &ov;
            delete &buffer;
        }
        abandoned_ = false;
    }

    // Takes the bytes the driver holds, as many as it counted in one read,
    // queues them one by one and wakes the GUI thread for each batch: on a
    // line that never falls silent (continuous transmission) the driver is
    // seldom empty, and the bytes must not wait for that. A read per byte
    // costs a round of the driver for each; under Wine that alone took a
    // fifth of a core at 9600 bit/s. False on stop.
    bool readAvailable(OVERLAPPED& ov, std::vector<unsigned char>& buffer) {
        for (;;) {
            DWORD errors = 0;
            COMSTAT stat{};
            if (!ClearCommError(handle_, &errors, &stat) || stat.cbInQue == 0) break;
            buffer.resize(stat.cbInQue);
            DWORD got = 0;
            bool stopped = false;
            ResetEvent(ov.hEvent);
            if (!ReadFile(handle_, buffer.data(), stat.cbInQue, &got, &ov)) {
                if (GetLastError() != ERROR_IO_PENDING) break;
                stopped = !waitRead(ov, got);
            }
            if (got > 0) {
                {
                    std::lock_guard<std::mutex> lk(mutex_);
                    queue_.insert(queue_.end(), buffer.begin(), buffer.begin() + got);
                }
                PostMessageW(wake_, WM_SERIAL_DATA, id_, 0);
            }
            if (stopped) return false;
            if (got == 0) break;
        }
        return true;
    }

    HWND wake_;
    WPARAM id_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    std::thread receiver_;
    bool abandoned_ = false;  // receiver thread only
    std::mutex mutex_;
    std::deque<int> queue_;
    std::deque<int> statuses_;
};

}  // namespace

void DeliverSerial(WPARAM portId) {
    auto it = livePorts.find(portId);
    if (it != livePorts.end()) it->second->deliver();
}

void DeliverSerialStatus(WPARAM portId, LPARAM) {
    auto it = livePorts.find(portId);
    if (it != livePorts.end()) it->second->deliverStatus();
}

std::unique_ptr<SerialPort> MakeSerialPort(HWND messageWindow) {
    return std::make_unique<W32SerialPort>(messageWindow);
}

}  // namespace win32
