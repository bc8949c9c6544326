// boardsim: the virtual weighing board on a pseudo-terminal or a serial
// device. A PC program (the tool under Wine, with the pseudo-terminal
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

namespace {

volatile sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

const char* Usage =
    "usage: boardsim [options]\n"
    "Serves the virtual weighing board on a new pseudo-terminal (its path is\n"
    "printed) or on an existing serial device.\n"
    "\n"
    "  --link PATH        also make PATH a symbolic link to the pseudo-terminal\n"
    "  --device PATH      serve this tty device instead of a pseudo-terminal\n"
    "  --weight W         load on the platform, in the display unit (default 0)\n"
    "  --drift RATE       let the load move up and down by RATE units per second\n"
    "  --drift-span S     ... within S units above the load (default 1)\n"
    "  --unit U           kg, lb or g (default kg)\n"
    "  --edition E        V (Rovan) or Y (Selmar) in the version reply (default V)\n"
    "  --version V        firmware version, letter and digits as A2.34.56\n"
    "  --settings LIST    seven positions: baud,mode,protocol,zerotrack,decimals,\n"
    "                     capacity,division (default 3,2,0,2,3,3,3)\n"
    "  --board-baud BPS   the board's own rate: 1200, 2400, 4800 or 9600\n"
    "  --continuous MS    send a weight frame unasked every MS milliseconds\n"
    "  --reply-delay MS   time from a command to its reply (default 2)\n"
    "faults:\n"
    "  --silent           never answer\n"
    "  --cut N            drop the first N bytes of every reply\n"
    "  --noise N          put N noise bytes into every reply\n"
    "  --noise-at K       ... after its K-th byte (default 0: before it)\n"
    "  --replies N        answer every poll with N frames (0: none)\n"
    "  --wrong-baud BPS   send everything at this rate instead of the board's\n"
    "  --fault-every K    cut and noise touch only every K-th frame\n"
    "  --verbose          print every command received on stderr\n"
    "  --help             this text\n"
    "\n"
    "Under Wine, --link ~/.wine/dosdevices/com1 makes the board COM1.\n";

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

bool Number(const char* text, double& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0';
}

struct Args {
    boardsim::Options options;
    std::string link, device;
    bool verbose = false;
};

bool Parse(int argc, char** argv, Args& a) {
    for (int i = 1; i < argc; ++i) {
        std::string f = argv[i];
        if (f == "--help") {
            std::fputs(Usage, stdout);
            std::exit(0);
        }
        if (f == "--silent") { a.options.faults.silent = true; continue; }
        if (f == "--verbose") { a.verbose = true; continue; }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "boardsim: %s needs a value or is unknown\n", f.c_str());
            return false;
        }
        std::string v = argv[++i];
        double n = 0;
        bool numeric = Number(v.c_str(), n);
        auto needNumber = [&] {
            if (!numeric) std::fprintf(stderr, "boardsim: %s takes a number, not %s\n", f.c_str(), v.c_str());
            return numeric;
        };
        if (f == "--link") a.link = v;
        else if (f == "--device") a.device = v;
        else if (f == "--unit") a.options.unit = v;
        else if (f == "--version") a.options.version = v;
        else if (f == "--edition") {
            if (v != "V" && v != "Y") {
                std::fprintf(stderr, "boardsim: --edition is V or Y\n");
                return false;
            }
            a.options.edition = v[0];
        } else if (f == "--settings") {
            boardsim::Settings s{};
            int got = std::sscanf(v.c_str(), "%d,%d,%d,%d,%d,%d,%d", &s[0], &s[1], &s[2], &s[3], &s[4],
                                  &s[5], &s[6]);
            if (got != 7) {
                std::fprintf(stderr, "boardsim: --settings takes seven positions\n");
                return false;
            }
            a.options.settings = s;
        } else if (!needNumber()) {
            return false;
        } else if (f == "--weight") a.options.weight = n;
        else if (f == "--drift") a.options.driftPerSecond = n;
        else if (f == "--drift-span") a.options.driftSpan = n;
        else if (f == "--continuous") a.options.continuousMs = int(n);
        else if (f == "--reply-delay") a.options.replyDelayMicros = int(n * 1000);
        else if (f == "--cut") a.options.faults.cutBytes = int(n);
        else if (f == "--noise") a.options.faults.noiseBytes = int(n);
        else if (f == "--noise-at") a.options.faults.noiseAt = int(n);
        else if (f == "--replies") a.options.faults.repliesPerPoll = int(n);
        else if (f == "--wrong-baud") a.options.faults.wrongBaud = int(n);
        else if (f == "--fault-every") a.options.faults.every = int(n);
        else if (f == "--board-baud") {
            int pos = -1;
            for (int p = 0; p < 4; ++p)
                if (boardsim::BaudOfPosition(p) == int(n)) pos = p;
            if (pos < 0) {
                std::fprintf(stderr, "boardsim: --board-baud is 1200, 2400, 4800 or 9600\n");
                return false;
            }
            a.options.settings[boardsim::BaudSetting] = pos;
        } else {
            std::fprintf(stderr, "boardsim: unknown option %s (see --help)\n", f.c_str());
            return false;
        }
    }
    return true;
}

struct Outgoing {
    int64_t at;
    char byte;
};

}  // namespace

int main(int argc, char** argv) {
    Args args;
    if (!Parse(argc, argv, args)) return 2;
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
            int64_t t = f.atMicros;
            for (char c : bytes) {
                out.push_back({t, c});
                t += probe >= 0 ? boardsim::ByteMicros(rate) : 0;
            }
        }
    };

    while (!stopRequested) {
        int64_t now = NowMicros();
        while (!out.empty() && out.front().at <= now) {
            std::string burst;
            while (!out.empty() && out.front().at <= now) {
                burst += out.front().byte;
                out.pop_front();
            }
            if (write(fd, burst.data(), burst.size()) < 0 && errno != EAGAIN) break;
        }
        queue(board.unasked(now));

        int64_t wake = now + 200'000;
        if (!out.empty()) wake = std::min(wake, out.front().at);
        int64_t next = board.nextUnaskedMicros();
        if (next >= 0) wake = std::min(wake, next);
        pollfd p{fd, POLLIN, 0};
        int timeout = static_cast<int>(std::max<int64_t>(0, (wake - now + 999) / 1000));
        int r = poll(&p, 1, timeout);
        if (r < 0 && errno != EINTR) break;
        if (r > 0 && (p.revents & POLLIN)) {
            char buf[256];
            ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) {
                now = NowMicros();
                int rate = pcBaud();
                size_t before = board.commands().size();
                std::string bytes(buf, static_cast<size_t>(n));
                queue(board.hear(bytes, rate, now - int64_t(n) * boardsim::ByteMicros(rate)));
                if (args.verbose)
                    for (size_t i = before; i < board.commands().size(); ++i)
                        std::fprintf(stderr, "boardsim: %s\n", board.commands()[i].c_str());
            }
        } else if (r > 0 && (p.revents & (POLLHUP | POLLERR))) {
            usleep(10'000);  // the PC end is closed; wait for it to come back
        }
        if (probe < 0 && board.baud() != deviceBaud) {
            tcdrain(fd);
            deviceBaud = board.baud();
            SetLine(fd, deviceBaud);
        }
    }
    if (!args.link.empty() && args.device.empty()) unlink(args.link.c_str());
    return 0;
}
