#include "run_state.h"

#include <cmath>

#include "../link/connect.h"
#include "../link/numbers.h"

namespace boardtool {

using namespace platform;

Text RunStatePath(const BoardTool& tool) { return tool.files.runDirectory() + "\\port.ini"; }

namespace {

void ApplyDefaults(BoardTool& tool) {
    tool.PortCombo.insertItem(0, "COM1", 1);
    tool.PcBaudCombo.select(3);
    tool.BoardBaudCombo.select(3);
    tool.TransmitModeCombo.select(2);
    tool.ProtocolCombo.select(0);
    tool.ZeroTrackCombo.select(2);
    tool.DecimalsCombo.select(3);
    tool.CapacityCombo.select(3);
    tool.DivisionCombo.select(3);
    tool.CalWeightEdit.setText("15.000");
}

// A stored number cut toward zero; text that is not a number counts as 0.
int StoredInteger(const Text& line) {
    double v = std::trunc(NumericValue(line));
    if (v > 2147483647.0) return 2147483647;
    if (v < -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(v);
}

void SelectByValue(ComboBox& combo, int value) {
    for (int i = 0; i < combo.count(); ++i)
        if (combo.itemValue(i) == value) return combo.select(i);
    combo.select(combo.count() - 1);
}

}  // namespace

void RestoreRunState(BoardTool& tool) {
    std::vector<Text> lines;
    if (auto bytes = ReadWholeFile(tool.files, RunStatePath(tool))) lines = SplitLines(*bytes);
    if (lines.empty() || lines[0] != "ok") return ApplyDefaults(tool);

    // A line missing in the middle of the file reads as empty, that is 0.
    auto line = [&lines](size_t n) { return n < lines.size() ? lines[n] : Text(); };
    // A list written without a selection stored -1; no port has a number
    // below 1, so such a line restores the placeholder entry.
    int port = StoredInteger(line(1));
    if (port > 0)
        tool.PortCombo.insertItem(0, "COM" + std::to_string(port), port);
    else
        tool.PortCombo.insertItem(0, "Nop", 0);
    SelectByValue(tool.PcBaudCombo, StoredInteger(line(2)));
    ComboBox* settings[] = {&tool.BoardBaudCombo, &tool.TransmitModeCombo, &tool.ProtocolCombo,
                            &tool.ZeroTrackCombo, &tool.DecimalsCombo,     &tool.CapacityCombo,
                            &tool.DivisionCombo};
    for (size_t i = 0; i < 7; ++i) settings[i]->select(StoredInteger(line(3 + i)));
    tool.CalWeightEdit.setText(line(10));
}

std::string RunStateText(const BoardTool& tool) {
    auto value = [](const ComboBox& c) {
        int s = c.selected();
        return std::to_string(s < 0 ? -1 : c.itemValue(s));
    };
    std::string text = "ok\r\n";
    const ComboBox* lists[] = {&tool.PortCombo,      &tool.PcBaudCombo,       &tool.BoardBaudCombo,
                               &tool.TransmitModeCombo, &tool.ProtocolCombo,  &tool.ZeroTrackCombo,
                               &tool.DecimalsCombo,  &tool.CapacityCombo,     &tool.DivisionCombo};
    for (const ComboBox* c : lists) text += value(*c) + "\r\n";
    text += tool.CalWeightEdit.text() + "\r\n";
    return text;
}

void SaveRunState(BoardTool& tool) {
    tool.ui.pumpFor(100);
    tool.BoardPort->close();

    // A new file swapped in whole: a failed write never leaves a torn or
    // empty port.ini behind.
    std::string text = RunStateText(tool);
    Text path = RunStatePath(tool);
    Text fresh = path + ".new";
    bool written = false;
    if (auto f = tool.files.create(fresh)) {
        written = f->write(text.data(), text.size()) && f->flush();
    }
    if (!written || !tool.files.replaceFile(fresh, path)) tool.files.deleteFile(fresh);

    tool.files.deleteFile(tool.UpgradeFolder + "\\temp.exe");
}

}  // namespace boardtool
