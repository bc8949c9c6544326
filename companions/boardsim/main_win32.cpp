// boardsim on Windows: the virtual weighing board on a real COM port, for a
// PC that is wired to this one with a null-modem cable.
#include <windows.h>

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "board_model.h"
#include "command_line.h"
#include "line_settings.h"

namespace {

volatile LONG stopRequested = 0;
BOOL WINAPI OnControl(DWORD) {
    InterlockedExchange(&stopRequested, 1);
    return TRUE;
}

int64_t NowMicros() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<int64_t>(now.QuadPart / frequency.QuadPart * 1'000'000 +
                                now.QuadPart % frequency.QuadPart * 1'000'000 / frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    boardsim::Args args;
    if (!boardsim::ParseArguments(argc, argv, args)) return 2;
    if (args.device.empty()) {
        std::fprintf(stderr, "boardsim: name the port with --device COMn (see --help)\n");
        return 2;
    }
    std::string path = args.device.rfind("\\\\.\\", 0) == 0 ? args.device : "\\\\.\\" + args.device;
    HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    boardsim::BoardModel board(args.options);
    if (port == INVALID_HANDLE_VALUE || !win32::ApplyLineSettings(port, static_cast<DWORD>(board.baud()))) {
        std::fprintf(stderr, "boardsim: cannot serve %s (error %lu)\n", args.device.c_str(), GetLastError());
        return 1;
    }
    // Reads return what has arrived, waiting at most 10 ms for the first byte.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = 10;
    timeouts.WriteTotalTimeoutConstant = 1000;
    SetCommTimeouts(port, &timeouts);
    PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    SetConsoleCtrlHandler(OnControl, TRUE);
    std::printf("boardsim: serving %s\n", args.device.c_str());
    std::fflush(stdout);

    board.lineReset(NowMicros());
    int lineBaud = board.baud();
    std::deque<boardsim::Frame> out;
    auto queue = [&out](const std::vector<boardsim::Frame>& frames) { out.insert(out.end(), frames.begin(), frames.end()); };

    while (InterlockedCompareExchange(&stopRequested, 0, 0) == 0) {
        int64_t now = NowMicros();
        while (!out.empty() && out.front().atMicros <= now) {
            // The UART paces the bytes at the rate the port is set to.
            if (out.front().baud != lineBaud) {
                FlushFileBuffers(port);
                lineBaud = out.front().baud;
                win32::ApplyLineSettings(port, static_cast<DWORD>(lineBaud));
            }
            DWORD written = 0;
            WriteFile(port, out.front().bytes.data(), static_cast<DWORD>(out.front().bytes.size()), &written,
                      nullptr);
            out.pop_front();
        }
        queue(board.unasked(now));

        char buf[256];
        DWORD got = 0;
        if (ReadFile(port, buf, sizeof buf, &got, nullptr) && got > 0) {
            now = NowMicros();
            size_t before = board.commands().size();
            // The UART has read them already: the board hears what it gives.
            queue(board.hear(std::string(buf, got), board.baud(),
                             now - int64_t(got) * boardsim::ByteMicros(board.baud())));
            if (args.verbose)
                for (size_t i = before; i < board.commands().size(); ++i)
                    std::fprintf(stderr, "boardsim: %s\n", board.commands()[i].c_str());
        }
        // Between frames the port listens at the board's rate: a saved rate
        // applies from now on, and a frame sent at a wrong rate is over.
        if (out.empty() && board.baud() != lineBaud) {
            FlushFileBuffers(port);
            lineBaud = board.baud();
            win32::ApplyLineSettings(port, static_cast<DWORD>(lineBaud));
        }
    }
    CloseHandle(port);
    return 0;
}
