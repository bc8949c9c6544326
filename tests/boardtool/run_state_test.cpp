// port.ini written when the main window closes.
#include "tool_fixture.h"

namespace {

const std::string DefaultsFile = "ok\r\n1\r\n9600\r\n3\r\n2\r\n0\r\n2\r\n3\r\n3\r\n3\r\n15.000\r\n";

TEST_F(ToolTest, ClosingWritesTheElevenLines) {
    start();
    session->closeWindow("MainWindow");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(machine.readFile("C:\\Tool\\port.ini"), DefaultsFile);
}

TEST_F(ToolTest, RunStateRoundTrips) {
    writePortIni({"ok", "0", "2400", "1", "3", "5", "4", "0", "7", "0", "2999.99"});
    start();
    session->closeWindow("MainWindow");
    EXPECT_EQ(machine.readFile("C:\\Tool\\port.ini"),
              "ok\r\n0\r\n2400\r\n1\r\n3\r\n5\r\n4\r\n0\r\n7\r\n0\r\n2999.99\r\n");
}

TEST_F(ToolTest, UnselectedListIsWrittenAsMinusOne) {
    writePortIni({"ok", "1", "9600", "3", "2", "0", "2", "3", "-1", "3", "15.000"});
    start();
    session->closeWindow("MainWindow");
    EXPECT_EQ(machine.readFile("C:\\Tool\\port.ini"),
              "ok\r\n1\r\n9600\r\n3\r\n2\r\n0\r\n2\r\n3\r\n-1\r\n3\r\n15.000\r\n");
}

TEST_F(ToolTest, FailedWriteKeepsTheOldFileWhole) {
    writePortIni({"ok", "4", "1200", "0", "0", "0", "0", "0", "0", "0", "7"});
    std::string before = *machine.readFile("C:\\Tool\\port.ini");
    machine.failWrite = [](const std::string& path) { return path.find("port.ini") != std::string::npos; };
    start();
    session->closeWindow("MainWindow");
    EXPECT_FALSE(session->running());
    EXPECT_EQ(machine.readFile("C:\\Tool\\port.ini"), before);
    EXPECT_FALSE(machine.fileExists("C:\\Tool\\port.ini.new"));
}

TEST_F(ToolTest, ClosingDeletesTheUpgradeCopy) {
    machine.writeFile("C:\\Program Files\\soft_temp_QX\\temp.exe", "MZ");
    start();
    session->closeWindow("MainWindow");
    EXPECT_FALSE(machine.fileExists("C:\\Program Files\\soft_temp_QX\\temp.exe"));
    EXPECT_TRUE(machine.folderExists("C:\\Program Files\\soft_temp_QX"));
}

}  // namespace
