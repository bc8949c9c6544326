// Start-up: restoring the last run from port.ini or the factory defaults.
#include "tool_fixture.h"

using platform::ComboBox;

namespace {

const std::vector<std::string> RovanProtocols = {
    "顶尖OS2X_连续式", "大华RS232-1 连续式", "大华RS232-2 TZQ指令 连续式",
    "大华RS232-3 应答式", "迪宝G100/G310 连续式", "Rovan 应答式"};

const char* Lists[] = {"BoardBaudCombo", "TransmitModeCombo", "ProtocolCombo", "ZeroTrackCombo",
                       "DecimalsCombo",  "CapacityCombo",     "DivisionCombo"};

std::vector<int> Selections(ToolTest& t) {
    std::vector<int> s;
    for (const char* name : Lists) s.push_back(t.combo(name).selected());
    return s;
}

TEST_F(ToolTest, FirstRunWithoutPortIniAppliesTheFactoryDefaults) {
    start();
    EXPECT_EQ(session->mustWindow("MainWindow").caption(), "Pesavo_[18.10.24]");
    EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"COM1"});
    EXPECT_EQ(combo("PortCombo").itemValue(0), 1);
    EXPECT_EQ(combo("PortCombo").selected(), 0);
    EXPECT_EQ(text("PcBaudCombo"), "9600");
    EXPECT_EQ(text("CalWeightEdit"), "15.000");
    EXPECT_EQ(items("ProtocolCombo"), RovanProtocols);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(combo("ProtocolCombo").itemValue(i), i);
    EXPECT_EQ(Selections(*this), (std::vector<int>{3, 2, 0, 2, 3, 3, 3}));
    EXPECT_EQ(text("CapacityCombo"), "30.000");
    for (const char* g : {"SettingsGroup", "CalibrationGroup", "WeightGroup", "VersionGroup", "TestGroup"})
        EXPECT_FALSE(get<platform::Control>(g).enabled()) << g;
    EXPECT_EQ(get<platform::Timer>("PollTimer").period(), 0);
    EXPECT_EQ(get<platform::Timer>("DetectTimer").period(), 0);
    EXPECT_TRUE(machine.serialWritten.empty());
}

TEST_F(ToolTest, SavedRunIsRestored) {
    writePortIni({"ok", "7", "2400", "1", "0", "4", "1", "2", "5", "8", "12.5"});
    start();
    EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"COM7"});
    EXPECT_EQ(combo("PortCombo").itemValue(0), 7);
    EXPECT_EQ(text("PcBaudCombo"), "2400");
    EXPECT_EQ(Selections(*this), (std::vector<int>{1, 0, 4, 1, 2, 5, 8}));
    EXPECT_EQ(text("CapacityCombo"), "1000.00");  // relabelled for two decimals
    EXPECT_EQ(text("CalWeightEdit"), "12.5");
}

TEST_F(ToolTest, PortNumberZeroIsNop) {
    writePortIni({"ok", "0", "9600", "3", "2", "0", "2", "3", "3", "3", "15.000"});
    start();
    EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"Nop"});
    EXPECT_EQ(combo("PortCombo").itemValue(0), 0);
}

struct Clamp {
    int line;  // 0-based line of port.ini
    const char* stored;
    const char* list;
    int selected;
};

TEST_F(ToolTest, StoredNumbersAreClampedToTheLists) {
    const Clamp cases[] = {
        {2, "1234", "PcBaudCombo", 3},  {2, "19200", "PcBaudCombo", 3}, {2, "1200", "PcBaudCombo", 0},
        {8, "12", "CapacityCombo", 7},  {8, "-1", "CapacityCombo", -1}, {8, "-5", "CapacityCombo", -1},
        {7, "9", "DecimalsCombo", 4},   {9, "3.7", "DivisionCombo", 3}, {3, "abc", "BoardBaudCombo", 0},
        {3, "", "BoardBaudCombo", 0},   {5, "40", "ProtocolCombo", 5},
    };
    for (const Clamp& c : cases) {
        std::vector<std::string> lines = {"ok", "1", "9600", "3", "2", "0", "2", "3", "3", "3", "15.000"};
        lines[c.line] = c.stored;
        writePortIni(lines);
        start();
        EXPECT_EQ(combo(c.list).selected(), c.selected) << c.list << " from \"" << c.stored << "\"";
        session.reset();
    }
}

TEST_F(ToolTest, ForeignFirstLineMeansDefaults) {
    for (const char* first : {"OK", " ok", "ok ", ""}) {
        writePortIni({first, "5", "1200", "0", "0", "0", "0", "0", "0", "0", "1"});
        start();
        EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"COM1"}) << '"' << first << '"';
        EXPECT_EQ(text("PcBaudCombo"), "9600");
        EXPECT_EQ(Selections(*this), (std::vector<int>{3, 2, 0, 2, 3, 3, 3}));
        session.reset();
    }
}

TEST_F(ToolTest, ZeroOrEmptyCalibrationWeightTakesTheCapacityText) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "15.000"}, {"0.000", "15.000"}, {"0", "15.000"}, {"abc", "15.000"}, {"0.5", "0.5"}};
    for (auto [stored, shown] : cases) {
        writePortIni({"ok", "1", "9600", "3", "2", "0", "2", "3", "2", "3", stored});
        start();
        EXPECT_EQ(text("CalWeightEdit"), shown) << '"' << stored << '"';
        session.reset();
    }
}

TEST_F(ToolTest, ShortFileReadsMissingLinesAsZero) {
    writePortIni({"ok", "3", "4800", "1"});
    start();
    EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"COM3"});
    EXPECT_EQ(text("PcBaudCombo"), "4800");
    EXPECT_EQ(Selections(*this), (std::vector<int>{1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(text("CalWeightEdit"), "3000");  // capacity 0 with no decimals
}

TEST_F(ToolTest, CapacityListFollowsTheDecimalPlaces) {
    start();
    session->onProgramThread([&] { get<platform::Control>("SettingsGroup").setEnabled(true); });
    ASSERT_EQ(text("CapacityCombo"), "30.000");
    session->pick("MainWindow", "DecimalsCombo", 1);
    EXPECT_EQ(text("CapacityCombo"), "3000.0");
    EXPECT_EQ(combo("CapacityCombo").selected(), 3);
    EXPECT_EQ(combo("CapacityCombo").itemValue(3), 3);
    session->pick("MainWindow", "DecimalsCombo", 4, /*dropDown=*/false);
    EXPECT_EQ(items("CapacityCombo"), (std::vector<std::string>{"0.3000", "0.6000", "1.5000", "3.0000",
                                                                "6.0000", "10.0000", "15.0000", "30.0000"}));
    session->dropDown("MainWindow", "DecimalsCombo");
    EXPECT_EQ(text("CapacityCombo"), "3.0000");
}

TEST_F(ToolTest, NoDecimalPlacesSelectedLeavesTheCapacityTexts) {
    writePortIni({"ok", "1", "9600", "3", "2", "0", "2", "-1", "3", "3", "1"});
    start();
    EXPECT_EQ(text("CapacityCombo"), "30000");  // the design-time row
    EXPECT_EQ(combo("DecimalsCombo").selected(), -1);
}

}  // namespace
