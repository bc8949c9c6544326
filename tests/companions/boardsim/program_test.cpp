// The boardsim program on a pseudo-terminal, driven as the PC side would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

struct Program {
    pid_t pid = -1;
    int out = -1;  // its standard output
    ~Program() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (out >= 0) close(out);
    }
    bool start(const std::vector<std::string>& args) {
        int p[2];
        if (pipe(p) != 0) return false;
        pid = fork();
        if (pid == 0) {
            dup2(p[1], 1);
            close(p[0]);
            std::vector<char*> argv;
            std::string exe = BOARDSIM_PROGRAM;
            argv.push_back(exe.data());
            std::vector<std::string> copy = args;
            for (std::string& a : copy) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(exe.c_str(), argv.data());
            _exit(127);
        }
        close(p[1]);
        out = p[0];
        return pid > 0;
    }
    // One line of its output, waiting at most two seconds.
    std::string line() {
        std::string s;
        char c;
        while (readable(out, 2000) && read(out, &c, 1) == 1 && c != '\n') s += c;
        return s;
    }
    // Everything it writes until it ends, and its exit status.
    std::string rest(int& status) {
        std::string s;
        char buf[256];
        for (ssize_t n; Program::readable(out, 2000) && (n = read(out, buf, sizeof buf)) > 0;) s.append(buf, size_t(n));
        waitpid(pid, &status, 0);
        pid = -1;
        return s;
    }
    int stop() {
        if (pid <= 0) return -1;
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return status;
    }
    static bool readable(int fd, int ms) {
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, ms) > 0;
    }
};

int OpenLine(const std::string& path, speed_t speed) {
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    termios t;
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

// Reads until n bytes came or nothing more comes for half a second.
std::string ReadReply(int fd, size_t n) {
    std::string s;
    char buf[64];
    while (s.size() < n && Program::readable(fd, 500)) {
        ssize_t got = read(fd, buf, sizeof buf);
        if (got <= 0) break;
        s.append(buf, static_cast<size_t>(got));
    }
    return s;
}

TEST(BoardsimProgram, ServesAPseudoTerminalAndItsLink) {
    std::string link = (std::filesystem::temp_directory_path() / ("boardsim-test-" + std::to_string(getpid()))).string();
    Program p;
    ASSERT_TRUE(p.start({"--link", link, "--weight", "2.5", "--edition", "Y", "--version", "D4.05.06"}));
    std::string slave = p.line();
    ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
    ASSERT_EQ(std::filesystem::read_symlink(link).string(), slave);

    int fd = OpenLine(link, B9600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "V6\r\n", 4), 4);
    EXPECT_EQ(ReadReply(fd, 17), "+0140506YD     \r\n");
    ASSERT_EQ(write(fd, "P0\r\n", 4), 4);
    EXPECT_EQ(ReadReply(fd, 17), "+002.500kgGS001\r\n");

    // The PC at another rate gets nothing it can use.
    termios t;
    tcgetattr(fd, &t);
    cfsetispeed(&t, B2400);
    cfsetospeed(&t, B2400);
    tcsetattr(fd, TCSANOW, &t);
    ASSERT_EQ(write(fd, "P0\r\n", 4), 4);
    EXPECT_EQ(ReadReply(fd, 17).find("\r\n"), std::string::npos);
    close(fd);

    int status = p.stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    struct stat st;
    EXPECT_NE(lstat(link.c_str(), &st), 0);  // the link is gone
}

TEST(BoardsimProgram, WritesItsStatisticsWhenStopped) {
    std::string base = (std::filesystem::temp_directory_path() / ("boardsim-stats-" + std::to_string(getpid()))).string();
    std::string link = base + ".link", statsFile = base + ".txt";
    std::filesystem::remove(statsFile);
    Program p;
    ASSERT_TRUE(p.start({"--link", link, "--stats", statsFile}));
    ASSERT_EQ(p.line().rfind("/dev/pts/", 0), 0u);
    int fd = OpenLine(link, B9600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "V6\r\n", 4), 4);
    EXPECT_EQ(ReadReply(fd, 17).size(), 17u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(write(fd, "P0\r\n", 4), 4);
        EXPECT_EQ(ReadReply(fd, 17).size(), 17u);
        usleep(50'000);
    }
    close(fd);
    int status = p.stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    FILE* f = std::fopen(statsFile.c_str(), "r");
    ASSERT_NE(f, nullptr) << "no " << statsFile;
    std::map<std::string, double> v;
    std::string lastFrame;
    char key[64], value[64];
    while (std::fscanf(f, "%63s %63s", key, value) == 2) {
        v[key] = std::atof(value);
        if (std::string(key) == "last_weight_frame") lastFrame = value;
    }
    std::fclose(f);
    std::filesystem::remove(statsFile);
    EXPECT_EQ(v["frames_sent"], 4);
    EXPECT_EQ(v["weight_frames_sent"], 3);
    EXPECT_EQ(v["weight_frames_after_first_poll"], 3);
    EXPECT_EQ(lastFrame, "+000.000kgGS101");
    EXPECT_EQ(v["polls_heard"], 3);
    EXPECT_EQ(v["poll_gaps"], 2);
    // Two gaps of a reply and a 50 ms wait each: not less than 50 ms.
    EXPECT_GE(v["poll_gap_median_ms"], 50);
    EXPECT_GE(v["poll_gap_max_ms"], v["poll_gap_p99_ms"]);
    EXPECT_GE(v["poll_gap_p99_ms"], v["poll_gap_median_ms"]);
}

TEST(BoardsimProgram, HelpListsTheFlags) {
    Program p;
    ASSERT_TRUE(p.start({"--help"}));
    int status = -1;
    std::string all = p.rest(status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (const char* flag : {"--link", "--device", "--weight", "--drift", "--edition", "--version", "--silent",
                             "--cut", "--noise", "--replies", "--wrong-baud", "--continuous", "--stats"})
        EXPECT_NE(all.find(flag), std::string::npos) << flag;
}

}  // namespace
