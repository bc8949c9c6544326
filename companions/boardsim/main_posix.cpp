// boardsim on Linux: the virtual weighing board on a pseudo-terminal or a
// tty device. A PC program (the tool under Wine, with the pseudo-terminal
// mapped to a COM port) talks to it as to a real board.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "board_model.h"
#include "command_line.h"
#include "line_stats.h"

namespace {

volatile sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

int64_t NowMicros() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

struct Speed {
    int baud;
    speed_t code;
};
const Speed Speeds[] = {{300, B300},   {600, B600},     {1200, B1200},   {2400, B2400},
                        {4800, B4800}, {9600, B9600},   {19200, B19200}, {38400, B38400},
                        {57600, B57600}, {115200, B115200}};

int BaudOfCode(speed_t code) {
    for (const Speed& s : Speeds)
        if (s.code == code) return s.baud;
    return 0;
}

speed_t CodeOfBaud(int baud) {
    for (const Speed& s : Speeds)
        if (s.baud == baud) return s.code;
    return B9600;
}

// Raw 8N1 at the given rate, no flow control, reads return what is there.
bool SetLine(int fd, int baud) {
    termios t;
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CRTSCTS | CSTOPB | PARENB);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, CodeOfBaud(baud));
    cfsetospeed(&t, CodeOfBaud(baud));
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

struct Outgoing {
    int64_t at;
    char byte;
    int baud;          // the rate a device is set to for it
    bool ends = false; // the last byte of a frame
};

// A frame on its way out, for the statistics: counted when its last byte
// is written.
struct Pending {
    std::string bytes;
    bool afterFirstPoll;
};

bool WriteStats(const std::string& path, const boardsim::LineStats& stats) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::string r = stats.report();
    bool ok = std::fwrite(r.data(), 1, r.size(), f) == r.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    boardsim::Args args;
    if (!boardsim::ParseArguments(argc, argv, args)) return 2;
    boardsim::BoardModel board(args.options);

    // fd: what we read and write; probe: the tty whose settings the PC
    // side sets (the slave of our pseudo-terminal), -1 on a real device.
    int fd = -1, probe = -1;
    if (!args.device.empty()) {
        fd = open(args.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0 || !SetLine(fd, board.baud())) {
            std::fprintf(stderr, "boardsim: cannot serve %s: %s\n", args.device.c_str(), std::strerror(errno));
            return 1;
        }
        std::printf("boardsim: serving %s\n", args.device.c_str());
    } else {
        fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
            std::fprintf(stderr, "boardsim: no pseudo-terminal: %s\n", std::strerror(errno));
            return 1;
        }
        const char* slave = ptsname(fd);
        // Held open so the line survives the PC closing its end; never read.
        probe = slave ? open(slave, O_RDWR | O_NOCTTY) : -1;
        if (probe < 0 || !SetLine(probe, board.baud())) {
            std::fprintf(stderr, "boardsim: cannot set up %s: %s\n", slave ? slave : "?", std::strerror(errno));
            return 1;
        }
        if (!args.link.empty()) {
            struct stat st;
            if (lstat(args.link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(args.link.c_str());
            if (symlink(slave, args.link.c_str()) != 0) {
                std::fprintf(stderr, "boardsim: cannot link %s: %s\n", args.link.c_str(), std::strerror(errno));
                return 1;
            }
        }
        std::printf("%s\n", slave);
    }
    std::fflush(stdout);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    signal(SIGINT, OnSignal);
    signal(SIGTERM, OnSignal);

    board.lineReset(NowMicros());
    int deviceBaud = board.baud();
    std::deque<Outgoing> out;
    std::deque<Pending> pending;
    boardsim::LineStats stats;
    int input = args.loadFromInput ? STDIN_FILENO : -1;
    std::string typed;  // a line of standard input not yet complete

    // The rate the PC side uses: on a pseudo-terminal whatever it set on
    // its end; on a device the device's own rate (the UARTs do the rest).
    auto pcBaud = [&]() {
        if (probe < 0) return board.baud();
        termios t;
        if (tcgetattr(probe, &t) != 0) return board.baud();
        int b = BaudOfCode(cfgetospeed(&t));
        return b > 0 ? b : board.baud();
    };
    auto queue = [&](const std::vector<boardsim::Frame>& frames) {
        int rate = pcBaud();
        for (const boardsim::Frame& f : frames) {
            // A pseudo-terminal has no rate of its own: mismatches are made
            // here, and bytes are paced as the line would pace them.
            std::string bytes = probe >= 0 ? boardsim::Garble(f.bytes, f.baud, rate) : f.bytes;
            if (bytes.empty()) continue;
            int64_t t = f.atMicros;
            for (char c : bytes) {
                out.push_back({t, c, f.baud});
                t += probe >= 0 ? boardsim::ByteMicros(rate) : 0;
            }
            out.back().ends = true;
            pending.push_back({bytes, stats.polls() > 0});
        }
    };

    while (!stopRequested) {
        int64_t now = NowMicros();
        while (!out.empty() && out.front().at <= now) {
            // On a device the UART sends at the rate of the frame.
            int burstBaud = out.front().baud;
            if (probe < 0 && burstBaud != deviceBaud) {
                tcdrain(fd);
                deviceBaud = burstBaud;
                SetLine(fd, deviceBaud);
            }
            std::string burst;
            while (!out.empty() && out.front().at <= now && out.front().baud == burstBaud) {
                burst += out.front().byte;
                if (out.front().ends && !pending.empty()) {
                    stats.frameSent(pending.front().bytes, pending.front().afterFirstPoll);
                    pending.pop_front();
                }
                out.pop_front();
            }
            if (write(fd, burst.data(), burst.size()) < 0 && errno != EAGAIN) break;
        }
        queue(board.unasked(now));

        int64_t wake = now + 200'000;
        if (!out.empty()) wake = std::min(wake, out.front().at);
        int64_t next = board.nextUnaskedMicros();
        if (next >= 0) wake = std::min(wake, next);
        pollfd fds[2] = {{fd, POLLIN, 0}, {input, POLLIN, 0}};
        pollfd& p = fds[0];
        int timeout = static_cast<int>(std::max<int64_t>(0, (wake - now + 999) / 1000));
        int r = poll(fds, input >= 0 ? 2 : 1, timeout);
        if (r < 0 && errno != EINTR) break;
        if (input >= 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            char buf[256];
            ssize_t n = read(input, buf, sizeof buf);
            if (n <= 0) {
                input = -1;  // end of input: the load stays as it is
            } else {
                typed.append(buf, static_cast<size_t>(n));
                for (size_t eol; (eol = typed.find('\n')) != std::string::npos; typed.erase(0, eol + 1)) {
                    double w = 0;
                    int on = 0;
                    char tail = 0;
                    if (std::sscanf(typed.substr(0, eol).c_str(), " load %lf %c", &w, &tail) == 1)
                        board.setLoad(w, NowMicros());
                    else if (std::sscanf(typed.substr(0, eol).c_str(), " silent %d %c", &on, &tail) == 1)
                        board.faults().silent = on != 0;
                    else
                        std::fprintf(stderr, "boardsim: not understood: %s\n", typed.substr(0, eol).c_str());
                }
            }
        }
        if (r > 0 && (p.revents & POLLIN)) {
            char buf[256];
            ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) {
                now = NowMicros();
                int rate = pcBaud();
                size_t before = board.commands().size();
                std::string bytes(buf, static_cast<size_t>(n));
                auto replies = board.hear(bytes, rate, now - int64_t(n) * boardsim::ByteMicros(rate));
                for (size_t i = before; i < board.commands().size(); ++i) {
                    const std::string& c = board.commands()[i];
                    if (c == "P0" || c == "N5") stats.pollHeard(now);
                    if (args.verbose) std::fprintf(stderr, "boardsim: %s\n", c.c_str());
                }
                queue(replies);
            }
        } else if (r > 0 && (p.revents & (POLLHUP | POLLERR))) {
            usleep(10'000);  // the PC end is closed; wait for it to come back
        }
        // Between frames a device listens at the board's rate: a saved rate
        // applies from now on, and a frame sent at a wrong rate is over.
        if (probe < 0 && out.empty() && board.baud() != deviceBaud) {
            tcdrain(fd);
            deviceBaud = board.baud();
            SetLine(fd, deviceBaud);
        }
    }
    if (!args.link.empty() && args.device.empty()) unlink(args.link.c_str());
    if (!args.stats.empty() && !WriteStats(args.stats, stats)) {
        std::fprintf(stderr, "boardsim: cannot write %s: %s\n", args.stats.c_str(), std::strerror(errno));
        return 1;
    }
    return 0;
}
