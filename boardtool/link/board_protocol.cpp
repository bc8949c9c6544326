#include "board_protocol.h"

namespace boardtool {

namespace {
Text TwoDigits(int n) {
    // Tens and units of a position or sum; positions are 0 to 99 here.
    return Text{static_cast<char>('0' + (n / 10) % 10), static_cast<char>('0' + n % 10)};
}
}  // namespace

Text SaveSettingsCommand(const std::array<int, 7>& positions) {
    Text command = "W";
    int sum = 0;
    for (int p : positions) {
        command += TwoDigits(p);
        sum += p;
    }
    return command + TwoDigits(sum);
}

Text CalibrationCommand(const Text& weightDigits) { return "CAL" + weightDigits; }

void SendCommand(BoardTool& tool, const Text& command) {
    for (char c : command) tool.BoardPort->send(Text(1, c));
    tool.BoardPort->send("\r");
    tool.BoardPort->send("\n");
}

FrameKind ClassifyFrame(const std::array<int32_t, 17>& frame) {
    if (frame[0] == 'R') return FrameKind::Settings;
    if (frame[0] == '+' || frame[0] == '-')
        return (frame[8] == 'V' || frame[8] == 'Y') ? FrameKind::Version : FrameKind::Weight;
    return FrameKind::Other;
}

Text DecodeWeightText(const std::array<int32_t, 17>& frame) {
    Text text = frame[0] == '-' ? "-" : "";
    bool significant = false;  // a byte other than "." has been appended
    for (int k = 1; k <= 7; ++k) {
        int c = frame[k];
        if (c == '.') {
            text += '.';
            continue;
        }
        bool skip = !significant && c == '0' && k < 7 && frame[k + 1] != '.';
        if (skip) continue;
        text += std::to_string(c - 48);
        significant = true;
    }
    return text;
}

}  // namespace boardtool
