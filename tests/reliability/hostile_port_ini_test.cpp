// port.ini of random bytes: binary, without any line end, text-like, huge,
// and files whose first line is "ok" followed by garbage. The tool starts
// without a message, a foreign file gives the factory defaults, and closing
// the tool always writes eleven proper CR LF lines that restore the same
// window when read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

#include "tool_fixture.h"

namespace {

const std::string PortIni = "C:\\Tool\\port.ini";
const std::string DefaultsFile = "ok\r\n1\r\n9600\r\n3\r\n2\r\n0\r\n2\r\n3\r\n3\r\n3\r\n15.000\r\n";

enum class Bytes { Binary, NoLineEnds, TextLike, OkThenBinary, OkThenTextLike, OkThenNumbers };

struct Blob {
    const char* what;
    Bytes kind;
    unsigned seed;
    size_t size;
};

std::string MakeBlob(const Blob& b) {
    std::mt19937 rng(b.seed);
    std::string s;
    if (b.kind == Bytes::OkThenBinary || b.kind == Bytes::OkThenTextLike || b.kind == Bytes::OkThenNumbers)
        s = "ok\r\n";
    const std::string textChars = "0123456789.-+ abcokOK\xA1\xA1\xB2\xE2\r\n\r\n\t";
    while (s.size() < b.size) {
        unsigned char c = static_cast<unsigned char>(rng());
        switch (b.kind) {
            case Bytes::NoLineEnds:
                if (c == '\r' || c == '\n') continue;
                break;
            case Bytes::TextLike:
            case Bytes::OkThenTextLike:
                c = static_cast<unsigned char>(textChars[rng() % textChars.size()]);
                break;
            case Bytes::OkThenNumbers: {
                // Lines of numbers of every shape, long digit runs included.
                const char* shapes[] = {"-", "", "99999999999999999999", "-2147483649", "3.9", "-0.5", ".",
                                        "1e9", "+7", " 5", "0x10"};
                s += shapes[rng() % 11];
                s += std::to_string(rng() % 100000);
                s += rng() % 2 ? "\r\n" : "\n";
                continue;
            }
            default:
                break;
        }
        s += static_cast<char>(c);
    }
    return s;
}

// The file the close wrote: eleven lines, each ended by CR LF, the first
// "ok", then the values the window shows.
void ExpectProperRunState(ToolTest& t, const std::string& file) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t lf; (lf = file.find('\n', start)) != std::string::npos; start = lf + 1) {
        ASSERT_GT(lf, start) << "a bare LF in the written file";
        ASSERT_EQ(file[lf - 1], '\r') << "a line without CR before its LF";
        lines.push_back(file.substr(start, lf - 1 - start));
    }
    ASSERT_EQ(start, file.size()) << "bytes after the last CR LF";
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "ok");
    const char* lists[] = {"PortCombo",     "PcBaudCombo",    "BoardBaudCombo", "TransmitModeCombo",
                           "ProtocolCombo", "ZeroTrackCombo", "DecimalsCombo",  "CapacityCombo",
                           "DivisionCombo"};
    for (size_t i = 0; i < 9; ++i) {
        platform::ComboBox& c = t.combo(lists[i]);
        int shown = c.selected() < 0 ? -1 : c.itemValue(c.selected());
        EXPECT_EQ(lines[1 + i], std::to_string(shown)) << lists[i];
    }
    EXPECT_EQ(t.combo("PortCombo").count(), 1);
    EXPECT_GE(std::stoll(lines[1]), 0);
    EXPECT_TRUE(lines[2] == "1200" || lines[2] == "2400" || lines[2] == "4800" || lines[2] == "9600") << lines[2];
    EXPECT_EQ(lines[10], t.text("CalWeightEdit"));
}

struct HostilePortIni : ToolTest {
    // Starts the tool on the file, checks the start, closes and returns what
    // the close wrote; the window's state is checked against it before the
    // close.
    std::string RunOn(const std::string& bytes) {
        machine.writeFile(PortIni, bytes);
        start();
        EXPECT_TRUE(session->running());
        EXPECT_EQ(session->boxes().size(), 0u);
        EXPECT_EQ(session->mustWindow("MainWindow").caption(), "Pesavo_[18.10.24]");
        EXPECT_EQ(text("OpenButton"), "打开");
        std::string expected = RunStateWhileOpen();
        session->closeWindow("MainWindow");
        EXPECT_FALSE(session->running());
        std::string written = machine.readFile(PortIni).value_or("<no port.ini>");
        EXPECT_EQ(written, expected);
        session.reset();
        return written;
    }
    // The eleven lines as the window shows them now.
    std::string RunStateWhileOpen() {
        std::string s = "ok\r\n";
        for (const char* name : {"PortCombo", "PcBaudCombo", "BoardBaudCombo", "TransmitModeCombo", "ProtocolCombo",
                                 "ZeroTrackCombo", "DecimalsCombo", "CapacityCombo", "DivisionCombo"}) {
            platform::ComboBox& c = combo(name);
            s += std::to_string(c.selected() < 0 ? -1 : c.itemValue(c.selected())) + "\r\n";
        }
        return s + text("CalWeightEdit") + "\r\n";
    }
};

TEST_F(HostilePortIni, ForeignBytesGiveTheDefaultsAndTheCloseWritesThem) {
    const Blob blobs[] = {
        {"one byte", Bytes::Binary, 1, 1},
        {"binary, small", Bytes::Binary, 2, 17},
        {"binary", Bytes::Binary, 3, 4096},
        {"binary, other seed", Bytes::Binary, 4, 4096},
        {"one blob without CR or LF", Bytes::NoLineEnds, 5, 65536},
        {"text-like lines", Bytes::TextLike, 6, 2000},
        {"huge binary", Bytes::Binary, 7, 16 << 20},
    };
    for (const Blob& b : blobs) {
        SCOPED_TRACE(b.what);
        std::string bytes = MakeBlob(b);
        ASSERT_NE(bytes.substr(0, 3), "ok\n");
        ASSERT_NE(bytes.substr(0, 4), "ok\r\n");
        if (b.kind == Bytes::NoLineEnds) {
            ASSERT_EQ(bytes.find_first_of("\r\n"), std::string::npos);
        }
        EXPECT_EQ(RunOn(bytes), DefaultsFile);
    }
}

// Behind an "ok" line the garbage is taken line by line; whatever the
// window ends up showing is what the close writes, in eleven proper lines,
// and a second run on that file writes it again unchanged.
TEST_F(HostilePortIni, GarbageAfterOkIsWrittenBackAsElevenProperLines) {
    const Blob blobs[] = {
        {"ok and binary", Bytes::OkThenBinary, 11, 4096},
        {"ok and binary, other seed", Bytes::OkThenBinary, 12, 300},
        {"ok and text-like lines", Bytes::OkThenTextLike, 13, 600},
        {"ok and text-like, other seed", Bytes::OkThenTextLike, 14, 60},
        {"ok and numbers of every shape", Bytes::OkThenNumbers, 15, 400},
        {"ok and numbers, other seed", Bytes::OkThenNumbers, 16, 400},
        {"ok and one short line", Bytes::OkThenBinary, 17, 6},
        {"ok and huge binary", Bytes::OkThenBinary, 18, 8 << 20},
    };
    for (const Blob& b : blobs) {
        SCOPED_TRACE(b.what);
        std::string first = RunOn(MakeBlob(b));
        machine.writeFile(PortIni, first);
        start();
        ExpectProperRunState(*this, first);
        session.reset();
        EXPECT_EQ(RunOn(first), first) << "the written file restores the same window";
    }
}

// A huge last line is the calibration weight, kept unchanged.
TEST_F(HostilePortIni, HugeCalibrationLineComesBackUnchanged) {
    std::string weight(1 << 20, '7');
    weight[3] = '.';
    std::string file = "ok\r\n3\r\n2400\r\n1\r\n0\r\n4\r\n1\r\n2\r\n5\r\n8\r\n" + weight + "\r\n";
    EXPECT_EQ(RunOn(file), file);
}

// Closing while port.ini cannot be written, with and without a file from an
// earlier run: the earlier file survives whole, a first run leaves no file,
// and no half-written copy stays behind. The next start reads what is there.
TEST_F(HostilePortIni, InterruptedWriteLeavesTheOldFileOrNone) {
    struct Case {
        const char* what;
        std::function<void(headless::Machine&)> fault;
    } cases[] = {
        {"new copy cannot be created",
         [](headless::Machine& m) { m.failCreate = [](const std::string& p) { return p == PortIni + ".new"; }; }},
        {"disk full while writing",
         [](headless::Machine& m) {
             m.failWrite = [](const std::string& p) { return p.rfind(PortIni, 0) == 0; };
         }},
        {"file held by another program", [](headless::Machine& m) { m.lock(PortIni); }},
    };
    const std::string earlier = "ok\r\n4\r\n1200\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n7\r\n";
    for (const Case& c : cases) {
        for (bool hadFile : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (hadFile ? ", earlier file" : ", first run"));
            headless::Machine& m = machine;
            if (hadFile) m.writeFile(PortIni, earlier);
            c.fault(m);
            start();
            session->pick("MainWindow", "PcBaudCombo", 1);
            session->closeWindow("MainWindow");
            EXPECT_FALSE(session->running());
            EXPECT_EQ(session->boxes().size(), 0u);
            session.reset();
            m.failCreate = nullptr;
            m.failWrite = nullptr;
            m.lockedHostPaths.clear();
            EXPECT_EQ(m.readFile(PortIni), hadFile ? std::optional<std::string>(earlier) : std::nullopt);
            EXPECT_FALSE(m.fileExists(PortIni + ".new"));
            start();
            EXPECT_EQ(text("PcBaudCombo"), hadFile ? "1200" : "9600");
            session.reset();
            std::remove(m.hostPath(PortIni).c_str());
        }
    }
}

}  // namespace
