#include "command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace boardsim {

namespace {

const char* const Usage =
#if defined(_WIN32)
    "usage: boardsim --device COMn [options]\n"
    "Serves the virtual weighing board on a serial port.\n"
    "\n"
    "  --device COMn      the serial port to serve\n"
#else
    "usage: boardsim [options]\n"
    "Serves the virtual weighing board on a new pseudo-terminal (its path is\n"
    "printed) or on an existing serial device.\n"
    "\n"
    "  --link PATH        also make PATH a symbolic link to the pseudo-terminal\n"
    "  --device PATH      serve this tty device instead of a pseudo-terminal\n"
#endif
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
#if !defined(_WIN32)
    "  --stats FILE       at the end (signal or error) write to FILE: frames sent,\n"
    "                     polls heard, median, 99th percentile and largest gap\n"
    "                     between polls\n"
    "  --stdin            read lines from standard input: \"load W\" puts W on the\n"
    "                     platform from then on, \"silent 1\" and \"silent 0\" switch\n"
    "                     --silent on and off\n"
#endif
    "  --help             this text\n"
#if !defined(_WIN32)
    "\n"
    "Under Wine, --link ~/.wine/dosdevices/com1 makes the board COM1.\n"
#endif
    ;

bool Number(const char* text, double& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0';
}

}  // namespace

bool ParseArguments(int argc, char** argv, Args& a) {
    for (int i = 1; i < argc; ++i) {
        std::string f = argv[i];
        if (f == "--help") {
            std::fputs(Usage, stdout);
            std::exit(0);
        }
        if (f == "--silent") { a.options.faults.silent = true; continue; }
        if (f == "--verbose") { a.verbose = true; continue; }
        if (f == "--stdin") { a.loadFromInput = true; continue; }
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
#if !defined(_WIN32)
        else if (f == "--stats") a.stats = v;
#endif
        else if (f == "--unit") a.options.unit = v;
        else if (f == "--version") a.options.version = v;
        else if (f == "--edition") {
            if (v != "V" && v != "Y") {
                std::fprintf(stderr, "boardsim: --edition is V or Y\n");
                return false;
            }
            a.options.edition = v[0];
        } else if (f == "--settings") {
            Settings s{};
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
                if (BaudOfPosition(p) == int(n)) pos = p;
            if (pos < 0) {
                std::fprintf(stderr, "boardsim: --board-baud is 1200, 2400, 4800 or 9600\n");
                return false;
            }
            a.options.settings[BaudSetting] = pos;
        } else {
            std::fprintf(stderr, "boardsim: unknown option %s (see --help)\n", f.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace boardsim
