// port.ini around an open port and a troubled disk.
#include "settings_fixture.h"

namespace {

const std::string PortIni = "C:\\Tool\\port.ini";

TEST_F(SettingsTest, ClosingWithThePortOpenClosesItBeforeWritingTheFile) {
    startOpen();
    pick("CapacityCombo", 6);
    pick("DecimalsCombo", 1);
    session->paste("MainWindow", "CalWeightEdit", "88.8");
    std::optional<std::string> fileAtClose = std::string("not closed");
    board.onClosed = [&] { fileAtClose = machine.readFile(PortIni); };
    session->closeWindow("MainWindow");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(fileAtClose, std::nullopt) << "the port closes first";
    EXPECT_EQ(machine.readFile(PortIni),
              "ok\r\n1\r\n9600\r\n3\r\n2\r\n0\r\n2\r\n1\r\n6\r\n3\r\n88.8\r\n");
}

TEST_F(SettingsTest, PortLineWithoutASelectionComesBackAsNop) {
    for (const char* stored : {"-1", "-7"}) {
        writePortIni({"ok", stored, "9600", "3", "2", "0", "2", "3", "3", "3", "15.000"});
        start();
        EXPECT_EQ(items("PortCombo"), std::vector<std::string>{"Nop"}) << stored;
        EXPECT_EQ(combo("PortCombo").itemValue(0), 0);
        session.reset();
    }
}

TEST_F(SettingsTest, FileThatCannotBeReplacedStaysWholeAndLeavesNoTrace) {
    writePortIni({"ok", "4", "1200", "0", "0", "0", "0", "0", "0", "0", "7"});
    std::string before = *machine.readFile(PortIni);
    machine.lock(PortIni);  // held open by another program
    start();
    session->closeWindow("MainWindow");
    EXPECT_FALSE(session->running());
    machine.lockedHostPaths.clear();
    EXPECT_EQ(machine.readFile(PortIni), before);
    EXPECT_FALSE(machine.fileExists(PortIni + ".new"));
}

}  // namespace
