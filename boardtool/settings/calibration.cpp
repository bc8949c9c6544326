#include "calibration.h"

#include <initializer_list>
#include <optional>

#include "../link/board_protocol.h"
#include "../link/numbers.h"
#include "../link/polling.h"

namespace boardtool {

namespace {

const Text ZeroWeightDigits = "0000000";
constexpr int WeightDigitCount = 7;

// A decimal number as it was typed: sign, digits before and after the point.
struct TypedNumber {
    bool negative = false;
    Text whole;
    Text fraction;
};

// The parts of a text that spells a number (optional sign, digits, at most
// one point, blanks around it); nullopt for any other text.
std::optional<TypedNumber> ReadTypedNumber(const Text& text) {
    Text t = platform::TrimBlanks(text);
    TypedNumber n;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) n.negative = t[i++] == '-';
    bool point = false;
    for (; i < t.size(); ++i) {
        char c = t[i];
        if (c == '.' && !point)
            point = true;
        else if (c >= '0' && c <= '9')
            (point ? n.fraction : n.whole) += c;
        else
            return std::nullopt;
    }
    if (n.whole.empty() && n.fraction.empty()) return std::nullopt;
    return n;
}

bool IsNegative(const Text& text) {
    std::optional<TypedNumber> n = ReadTypedNumber(text);
    return n && n->negative && (n->whole + n->fraction).find_first_not_of('0') != Text::npos;
}

// The integer part in decimal, then "." and exactly d digits of the fraction
// as typed: further digits are cut, never rounded; missing ones are zeros.
Text NormalWeight(const Text& text, int d) {
    TypedNumber n = ReadTypedNumber(text).value_or(TypedNumber{});
    size_t first = n.whole.find_first_not_of('0');
    Text w = first == Text::npos ? "0" : n.whole.substr(first);
    if (d > 0) {
        Text fraction = n.fraction.substr(0, static_cast<size_t>(d));
        w += "." + fraction + Text(static_cast<size_t>(d) - fraction.size(), '0');
    }
    return w;
}

// The weight without its point, zero-padded on the left to seven digits.
Text WeightDigits(const Text& weight) {
    Text digits;
    for (char c : weight)
        if (c != '.') digits += c;
    if (digits.size() < WeightDigitCount) digits.insert(0, WeightDigitCount - digits.size(), '0');
    return digits;
}

// Polling stops, the command goes out after a pause, and the warning stays
// until the board reports again.
void SendCalibration(BoardTool& tool, const Text& weightDigits, std::initializer_list<int> pausesBefore) {
    tool.StatusLabel.setText(" ");
    tool.PollTimer.setPeriod(0);
    for (int ms : pausesBefore) tool.ui.sleep(ms);
    SendCommand(tool, CalibrationCommand(weightDigits));
    tool.StatusTicks = -1;
    tool.StatusLabel.setText(NoCommunicationWarning);
    tool.ui.sleep(100);
    tool.PollTimer.setPeriod(200);
    Poll(tool);
}

}  // namespace

void CalibrateZero(BoardTool& tool) {
    tool.showMessage(
        "请清除秤台上无关物品，保持秤处于水平状态，保证当前场所无风吹、振动等外界因素干扰，"
        "确定后请点【确定】按钮。");
    SendCalibration(tool, ZeroWeightDigits, {100, 100});
}

void CalibrateHigh(BoardTool& tool) {
    int decimals = tool.DecimalsCombo.selected();
    int capacity = tool.CapacityCombo.selected();
    Text entry = tool.CalWeightEdit.text();
    // Without decimal places or a capacity the weight has no form and no
    // limit, and a negative weight none in the command: nothing is sent.
    if (decimals < 0) return tool.showMessage("请先选择小数点位置，再标定高点！");
    if (capacity < 0) return tool.showMessage("请先选择最大称量，再标定高点！");
    if (IsNegative(entry)) return tool.showMessage("高点标定值不能为负数，请重新输入！");

    int d = tool.DecimalsCombo.itemValue(decimals);
    Text weight = NormalWeight(entry, d);
    tool.CalWeightEdit.setText(weight);
    Text capacityText = tool.CapacityCombo.itemText(capacity);
    if (NumericValue(weight) - NumericValue(capacityText) > 1e-7) {
        weight = capacityText;
        tool.CalWeightEdit.setText(weight);
    }

    tool.showMessage("请加载重量为[" + weight +
                     "kg]的码砝或物品至秤台中央，保持秤处于水平状态，保证当前场所无风吹、振动等外界因素干扰，"
                     "确定后请点【确定】按钮。");
    SendCalibration(tool, WeightDigits(weight), {10});
}

}  // namespace boardtool
