// Frames from the board and what the main window shows for them.
#include "link_fixture.h"

using platform::Black;
using platform::Color;
using platform::Grey;

namespace {

struct WeightCase {
    std::string frame;
    const char* display;
    const char* unit;
    Color zero, net, stable;
};

TEST_F(LinkTest, WeightRepliesSetDisplayUnitAndIndicators) {
    const WeightCase cases[] = {
        {WeightFrame("+0001.50", "kg", "110"), "1.50", "kg", Black, Black, Grey},
        {WeightFrame("-000.000", "lb", "000"), "-0.000", "lb", Grey, Grey, Grey},
        {WeightFrame("+0000000", "g ", "101"), "0", "g ", Black, Grey, Black},
        {WeightFrame("+0012345", "xy", "9A0"), "12345", "", Black, Black, Grey},
        {WeightFrame("+0001.50", "k?", "001"), "1.50", "k", Grey, Grey, Black},
        {WeightFrame("+0001.50", "?b", "000"), "1.50", "b", Grey, Grey, Grey},
        {WeightFrame("+00.0005", "kg", "000"), "0.0005", "kg", Grey, Grey, Grey},
    };
    startAndOpen();
    for (const WeightCase& c : cases) {
        std::string before = text("ReceiveBox");
        inject(c.frame);
        EXPECT_EQ(text("WeightDisplay"), c.display) << c.frame;
        EXPECT_EQ(text("UnitLabel"), c.unit) << c.frame;
        EXPECT_EQ(colour("ZeroLabel"), c.zero) << c.frame;
        EXPECT_EQ(colour("NetLabel"), c.net) << c.frame;
        EXPECT_EQ(colour("StableLabel"), c.stable) << c.frame;
        EXPECT_EQ(text("ReceiveBox"), before + c.display + c.unit + " \r\n") << c.frame;
        if (&c == &cases[0]) {
            EXPECT_EQ(text("GoodLabel"), "正常：1次");
        }
    }
}

TEST_F(LinkTest, SameWeightTwiceIsNotWrittenAgain) {
    startAndOpen();
    inject(WeightFrame("+0001.50", "kg", "110"));
    int writes = writesOf("WeightDisplay");
    inject(WeightFrame("+0001.50", "kg", "110"));
    EXPECT_EQ(writesOf("WeightDisplay"), writes);
    EXPECT_EQ(text("GoodLabel"), "正常：2次");
    inject(WeightFrame("+0001.60", "kg", "110"));
    EXPECT_EQ(writesOf("WeightDisplay"), writes + 1);
    EXPECT_EQ(text("WeightDisplay"), "1.60");
}

// Hours of polling fill the log box; it keeps its newest whole lines and
// goes on showing each new one at its end.
TEST_F(LinkTest, ReceiveBoxKeepsItsNewestLinesOverALongRun) {
    startAndOpen();
    for (int i = 0; i < 4000; ++i) {
        char w[9];
        std::snprintf(w, sizeof w, "+%07d", i);
        inject(WeightFrame(w, "kg", "110"));
    }
    std::string box = text("ReceiveBox");
    EXPECT_LE(box.size(), platform::MemoKeepLimit);
    EXPECT_GE(box.size(), platform::MemoKeepAfterTrim - 20);
    EXPECT_EQ(box.substr(box.size() - 9), "3999kg \r\n");
    // It starts with a whole line: the one after the last line dropped.
    size_t first = box.find("\r\n");
    ASSERT_NE(first, std::string::npos);
    int firstWeight = std::stoi(box.substr(0, first));
    int lines = 0;
    for (size_t at = 0; (at = box.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(firstWeight + lines, 4000);
}

struct SpreadCase {
    int decimals;
    std::vector<std::string> weights;
    const char *min, *max, *diff;
};

TEST_F(LinkTest, MinimumMaximumAndDifference) {
    const SpreadCase cases[] = {
        {2, {"+0001.50", "+0001.40", "+0001.60"}, "最小值：1.40", "最大值：1.60", "差  值：0.2"},
        // The first reply after the reset moves both ends to itself.
        {2, {"+0001.50"}, "最小值：1.50", "最大值：1.50", "差  值：0"},
        // Halves are rounded away from zero.
        {1, {"+0001.00", "+0001.25"}, "最小值：1.00", "最大值：1.25", "差  值：0.3"},
        {0, {"+0000010", "+0000012", "+0000011"}, "最小值：10", "最大值：12", "差  值：2"},
        {3, {"-000.500", "+000.250"}, "最小值：-0.500", "最大值：0.250", "差  值：0.75"},
        // Text that is no number counts as 0.
        {2, {"+0001.50", "+0001..5"}, "最小值：1..5", "最大值：1.50", "差  值：1.5"},
    };
    for (const SpreadCase& c : cases) {
        startAndOpen();
        session->pick("MainWindow", "DecimalsCombo", c.decimals);
        for (const std::string& w : c.weights) inject(WeightFrame(w));
        EXPECT_EQ(text("MinLabel"), c.min) << c.weights.back();
        EXPECT_EQ(text("MaxLabel"), c.max) << c.weights.back();
        EXPECT_EQ(text("DiffLabel"), c.diff) << c.weights.back();
        session.reset();
    }
}

TEST_F(LinkTest, DifferenceWithoutDecimalPlacesRoundsToWholeNumbers) {
    writePortIni({"ok", "1", "9600", "3", "2", "0", "2", "-1", "3", "3", "1"});
    startAndOpen();
    inject(WeightFrame("+0001.20"));
    inject(WeightFrame("+0002.90"));
    EXPECT_EQ(text("DiffLabel"), "差  值：2");
}

TEST_F(LinkTest, InternalCodeModeShowsTheRawValueLessTheOffset) {
    startAndOpen();
    session->click("MainWindow", "InternalCodeCheck");
    tool().InternalCodeOffset = 100;
    inject(WeightFrame("+0000500"));
    EXPECT_EQ(text("WeightDisplay"), "400");
    EXPECT_EQ(tool().LastInternalCode, 500);
    EXPECT_EQ(text("ReceiveBox"), "400kg \r\n");
    // Raw values below the offset and fractional ones.
    inject(WeightFrame("+0000042"));
    EXPECT_EQ(text("WeightDisplay"), "-58");
    inject(WeightFrame("+00500.7"));
    EXPECT_EQ(text("WeightDisplay"), "400.7");
    EXPECT_EQ(tool().LastInternalCode, 500);
    // Version frames go through the offset too.
    inject("+0123456VA     \r\n");
    EXPECT_EQ(text("VersionButton"), "固件版本：A2.33.56");
    EXPECT_EQ(tool().LastInternalCode, 123456);
    // Off again: the frame is shown as it came, the last code stays.
    session->click("MainWindow", "InternalCodeCheck");
    inject(WeightFrame("+0000500"));
    EXPECT_EQ(text("WeightDisplay"), "500");
    EXPECT_EQ(tool().LastInternalCode, 123456);
}

struct VersionCase {
    std::string frame;
    const char* button;
    const char* caption;
    const char* edition;
    int protocols;
    const char* prefix;
};

TEST_F(LinkTest, VersionRepliesSetVersionEditionAndProtocols) {
    const VersionCase cases[] = {
        {"+0123456VA     \r\n", "固件版本：A2.34.56", "Rovan电脑一体秤测试工具_[18.10.24]", "ROXU", 6, "A"},
        {"+0123456YA     \r\n", "固件版本：A2.34.56", "Selmar电脑一体秤测试工具_[18.10.24]", "QJV", 9, "A"},
        {"-0100203YZ     \r\n", "固件版本：Z1.00.03", "Selmar电脑一体秤测试工具_[18.10.24]", "QJV", 9, "Z"},
        // No letter for this byte: the version reads without one.
        {"+0123456V?     \r\n", "固件版本：2.34.56", "Rovan电脑一体秤测试工具_[18.10.24]", "ROXU", 6, ""},
        {"+0123456Va     \r\n", "固件版本：2.34.56", "Rovan电脑一体秤测试工具_[18.10.24]", "ROXU", 6, ""},
        // A short version text gives what there is of it.
        {"+0000012VB     \r\n", "固件版本：B2..12", "Rovan电脑一体秤测试工具_[18.10.24]", "ROXU", 6, "B"},
    };
    for (const VersionCase& c : cases) {
        startAndOpen();
        inject(WeightFrame("+0001.50"));
        session->pick("MainWindow", "ProtocolCombo", 1);
        std::string good = text("GoodLabel"), status = text("StatusLabel");
        inject(c.frame);
        EXPECT_EQ(text("VersionButton"), c.button) << c.frame;
        EXPECT_EQ(session->mustWindow("MainWindow").caption(), c.caption) << c.frame;
        EXPECT_EQ(tool().EditionCode, c.edition) << c.frame;
        EXPECT_EQ(tool().FirmwarePrefix, c.prefix) << c.frame;
        EXPECT_EQ(combo("ProtocolCombo").count(), c.protocols) << c.frame;
        EXPECT_EQ(combo("ProtocolCombo").selected(), -1) << c.frame;
        EXPECT_EQ(text("GoodLabel"), good) << c.frame;
        EXPECT_EQ(text("StatusLabel"), status) << c.frame;
        EXPECT_EQ(text("WeightDisplay"), "1.50") << c.frame;
        session.reset();
    }
}

TEST_F(LinkTest, SelmarListAfterAVersionReply) {
    startAndOpen();
    inject("+0123456YA     \r\n");
    EXPECT_EQ(items("ProtocolCombo"),
              (std::vector<std::string>{"顶尖OS2X_连续式", "大华RS232-1 连续式", "大华RS232-2 连续式",
                                        "大华RS232-3 应答式", "迪宝G100/G310 连续式", "Selmar  连续式",
                                        "友声  连续式", "即插即用  稳定即传一次式",
                                        "即插即用  需回零稳定即传一次式"}));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(combo("ProtocolCombo").itemValue(i), i);
}

const char* SettingsLists[] = {"BoardBaudCombo", "TransmitModeCombo", "ProtocolCombo", "ZeroTrackCombo",
                               "DecimalsCombo",  "CapacityCombo",     "DivisionCombo"};

struct SettingsCase {
    std::vector<int> sent;
    std::vector<int> selected;
    const char* capacity;
};

TEST_F(LinkTest, SettingsRepliesSelectTheSevenLists) {
    const SettingsCase cases[] = {
        {{3, 2, 0, 2, 3, 3, 3}, {3, 2, 0, 2, 3, 3, 3}, "30.000"},
        {{1, 0, 4, 1, 2, 5, 8}, {1, 0, 4, 1, 2, 5, 8}, "1000.00"},
        {{0, 3, 5, 4, 0, 0, 0}, {0, 3, 5, 4, 0, 0, 0}, "3000"},
        // Past the end of a list: its last entry.
        {{9, 99, 99, 99, 99, 99, 99}, {3, 3, 5, 4, 4, 7, 8}, "30.0000"},
        {{3, 2, 6, 2, 3, 9, 3}, {3, 2, 5, 2, 3, 7, 3}, "300.000"},
    };
    for (const SettingsCase& c : cases) {
        startAndOpen();
        ASSERT_EQ(tool().SettingsReceived, 0);
        inject(SettingsFrame(c.sent));
        std::vector<int> selected;
        for (const char* list : SettingsLists) selected.push_back(combo(list).selected());
        EXPECT_EQ(selected, c.selected) << c.capacity;
        EXPECT_EQ(text("CapacityCombo"), c.capacity);
        EXPECT_EQ(tool().SettingsReceived, 1);
        EXPECT_EQ(text("StatusLabel"), ">>>");
        EXPECT_EQ(text("GoodLabel"), "正常：0次");
        session.reset();
    }
}

TEST_F(LinkTest, StatusMarkerAfterACommand) {
    startAndOpen();
    ASSERT_EQ(text("StatusLabel"), boardtool::NoCommunicationWarning);
    ASSERT_EQ(tool().StatusTicks, -1);
    std::vector<std::string> shown;
    for (int i = 0; i < 42; ++i) {
        // Weight, settings and uninterpreted frames all move the marker.
        std::string frame = i % 3 == 0 ? WeightFrame("+0001.50") : i % 3 == 1 ? "#23456789abcdef\r\n"
                                                                                 : SettingsFrame({3, 2, 0, 2, 3, 3, 3});
        inject(frame, 20);
        shown.push_back(text("StatusLabel"));
    }
    EXPECT_EQ(shown[0], ">>>");
    EXPECT_EQ(shown[1], ">>>");
    EXPECT_EQ(shown[2], "   >>>");
    EXPECT_EQ(shown[40], std::string(117, ' ') + ">>>");
    EXPECT_EQ(shown[41], ">>>");
    // Version frames do not move it.
    inject("+0123456VA     \r\n", 20);
    EXPECT_EQ(text("StatusLabel"), ">>>");
}

TEST_F(LinkTest, BytesWithoutCrLfChangeNothing) {
    startAndOpen();
    inject(WeightFrame("+0001.50", "kg", "110"));
    std::vector<std::string> watched = {"WeightDisplay", "UnitLabel", "StatusLabel", "GoodLabel", "ReceiveBox",
                                        "VersionButton", "MinLabel", "MaxLabel", "DiffLabel"};
    auto snapshot = [&] {
        std::vector<std::string> s;
        for (const std::string& name : watched) s.push_back(text(name));
        for (const char* list : SettingsLists) s.push_back(std::to_string(combo(list).selected()));
        s.push_back(session->mustWindow("MainWindow").caption());
        return s;
    };
    auto before = snapshot();
    // Whole frames without their CR LF, a lone CR, LF before CR.
    std::string stream = "+0009.99kg  000R" + std::string(14, '\x01') + "+0123456YA     \n\r" + "\r+0002.00lb  111\n";
    for (int i = 0; i < 300; ++i) stream += static_cast<char>((i * 37) % 256 == 13 ? 0 : (i * 37) % 256);
    for (size_t i = 0; i + 1 < stream.size(); ++i)
        ASSERT_FALSE(stream[i] == '\r' && stream[i + 1] == '\n') << i;
    inject(stream, 500);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(tool().SettingsReceived, 0);
}

TEST_F(LinkTest, ShortReplyIsClassifiedByItsStaleFirstByte) {
    startAndOpen();
    inject(WeightFrame("+0001.50"));
    // Sixteen bytes of noise ending in "+", then a reply cut to its last
    // sixteen bytes: the frame starts with the stale "+".
    inject(std::string(15, 'x') + "+");
    inject("0002.50lb  111\r\n");
    EXPECT_EQ(text("WeightDisplay"), "2.50");
    EXPECT_EQ(text("UnitLabel"), "lb");
    // Cut to fewer bytes, the stale byte is the tail of the last frame.
    std::string good = text("GoodLabel");
    inject("9.99kg  000\r\n");
    EXPECT_EQ(text("WeightDisplay"), "2.50");
    EXPECT_EQ(text("GoodLabel"), good);
}

}  // namespace
