#include "reply_processing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "../settings/capacity.h"
#include "board_protocol.h"
#include "edition.h"
#include "numbers.h"

namespace boardtool {

using platform::Black;
using platform::Grey;

namespace {

// Characters of a text counted from 1; a range beyond the text yields what
// exists of it.
Text Characters(const Text& t, size_t from, size_t count) {
    if (from < 1 || from > t.size()) return Text();
    return t.substr(from - 1, count);
}

Text LastCharacters(const Text& t, size_t count) {
    return t.size() <= count ? t : t.substr(t.size() - count);
}

int FrameNumber(const BoardTool& tool, int tens, int units) {
    return 10 * tool.FrameWindow[tens] + tool.FrameWindow[units];
}

void SettingsReply(BoardTool& tool) {
    tool.BoardBaudCombo.select(tool.FrameWindow[2]);
    tool.TransmitModeCombo.select(FrameNumber(tool, 3, 4));
    tool.ProtocolCombo.select(FrameNumber(tool, 5, 6));
    tool.ZeroTrackCombo.select(FrameNumber(tool, 7, 8));
    tool.DecimalsCombo.select(FrameNumber(tool, 9, 10));
    tool.CapacityCombo.select(FrameNumber(tool, 11, 12));
    tool.DivisionCombo.select(FrameNumber(tool, 13, 14));
    RelabelCapacities(tool);
    tool.SettingsReceived = 1;
    StatusStep(tool);
}

void VersionReply(BoardTool& tool, const Text& weightText, bool selmar) {
    // A version letter outside "A" to "Z" has no letter: the prefix is empty.
    int letter = tool.FrameWindow[9] - 64;
    tool.FirmwarePrefix = letter >= 1 && letter <= 26 ? tool.LetterTable[letter] : Text();
    tool.VersionButton.setText("固件版本：" + tool.FirmwarePrefix + Characters(weightText, 2, 1) + "." +
                               Characters(weightText, 3, 2) + "." + LastCharacters(weightText, 2));
    if (selmar) {
        tool.MainWindow.setCaption("Selmar电脑一体秤测试工具_[" + tool.ToolVersion + "]");
        tool.EditionCode = "QJV";
        FillProtocolList(tool, ProtocolList::Selmar);
    } else {
        tool.MainWindow.setCaption("Rovan电脑一体秤测试工具_[" + tool.ToolVersion + "]");
        tool.EditionCode = "ROXU";
        FillProtocolList(tool, ProtocolList::Rovan);
    }
}

void ShowDifference(BoardTool& tool) {
    int places = std::max(tool.DecimalsCombo.selected(), 0);
    double diff = static_cast<double>(tool.MaxWeight - tool.MinWeight);
    tool.DiffLabel.setText("差  值：" + DecimalText(RoundHalfAway(diff, places)));
}

platform::Color FlagColour(int32_t flag) { return flag == '0' ? Grey : Black; }

void WeightReply(BoardTool& tool, const Text& weightText) {
    if (tool.WeightDisplay.text() != weightText) tool.WeightDisplay.setText(weightText);

    Text unit;
    int first = tool.FrameWindow[8], second = tool.FrameWindow[9];
    if (first == 'k' || first == 'l' || first == 'g') unit += static_cast<char>(first);
    if (second == 'g' || second == 'b' || second == ' ') unit += static_cast<char>(second);
    tool.UnitLabel.setText(unit);

    double v = NumericValue(weightText);
    if (static_cast<double>(tool.MinWeight) - v > 1e-7) {
        tool.MinWeight = static_cast<float>(v);
        tool.MinLabel.setText("最小值：" + weightText);
        ShowDifference(tool);
    }
    if (v - static_cast<double>(tool.MaxWeight) > 1e-7) {
        tool.MaxWeight = static_cast<float>(v);
        tool.MaxLabel.setText("最大值：" + weightText);
        ShowDifference(tool);
    }

    tool.GoodCount += 1;
    tool.ReceiveBox.append(weightText + unit + " " + "\r\n");
    tool.GoodLabel.setText("正常：" + std::to_string(tool.GoodCount) + "次");
    tool.ZeroLabel.setTextColor(FlagColour(tool.FrameWindow[12]));
    tool.NetLabel.setTextColor(FlagColour(tool.FrameWindow[13]));
    tool.StableLabel.setTextColor(FlagColour(tool.FrameWindow[14]));
    StatusStep(tool);
}

void SignLedFrame(BoardTool& tool) {
    Text weightText = DecodeWeightText(tool.FrameWindow);
    if (tool.InternalCodeCheck.checked()) {
        double value = NumericValue(weightText);
        double code = std::trunc(value);
        // Seven characters hold at most 9999999; clamp anyway so no reading
        // can overflow the conversion.
        code = std::clamp(code, -9.2e18, 9.2e18);
        tool.LastInternalCode = static_cast<int64_t>(code);
        weightText = DecimalText(value - static_cast<double>(tool.InternalCodeOffset));
    }
    switch (tool.FrameWindow[8]) {
        case 'V': return VersionReply(tool, weightText, false);
        case 'Y': return VersionReply(tool, weightText, true);
        default: return WeightReply(tool, weightText);
    }
}

}  // namespace

double RoundHalfAway(double x, int places) {
    double scale = std::pow(10.0, places);
    double scaled = std::fabs(x) * scale + 1e-12;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5) whole += 1;
    double rounded = whole / scale;
    return x < 0 ? -rounded : rounded;
}

void StatusStep(BoardTool& tool) {
    tool.StatusLabel.setText("   " + tool.StatusLabel.text());
    if (tool.StatusTicks == -1) tool.StatusLabel.setText(">>>");
    if (tool.StatusTicks % 40 == 0) tool.StatusLabel.setText(">>>");
    // Wraps to 0 instead of overflowing after years of frames.
    tool.StatusTicks = tool.StatusTicks == std::numeric_limits<int32_t>::max() ? 0 : tool.StatusTicks + 1;
}

void ProcessFrame(BoardTool& tool) {
    switch (ClassifyFrame(tool.FrameWindow)) {
        case FrameKind::Settings: return SettingsReply(tool);
        case FrameKind::Version:
        case FrameKind::Weight: return SignLedFrame(tool);
        case FrameKind::Other: return StatusStep(tool);
    }
}

void ByteArrived(BoardTool& tool, int byte) {
    auto& w = tool.FrameWindow;
    std::copy(w.begin() + 1, w.end(), w.begin());
    w[16] = byte;
    if (w[15] == 13 && w[16] == 10) ProcessFrame(tool);
}

}  // namespace boardtool
