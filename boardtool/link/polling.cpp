#include "polling.h"

#include <algorithm>

#include "board_protocol.h"

namespace boardtool {

namespace {
Text TwoDigitField(int64_t n) {
    Text t = std::to_string(n);
    return t.size() == 1 ? "0" + t : t;
}
}  // namespace

void Poll(BoardTool& tool) {
    SendCommand(tool, tool.InternalCodeCheck.checked() ? InternalCodePollCommand : PollCommand);
    // A board that answers more often than it is asked cannot drive the
    // error count below 0.
    if (tool.GoodCount > tool.SentCount) tool.GoodCount = tool.SentCount;
    tool.ErrorLabel.setText("错误：" + std::to_string(tool.SentCount - tool.GoodCount) + "次");
    tool.SentCount += 1;
    tool.SentLabel.setText("测试：" + std::to_string(tool.SentCount) + "次");

    // A clock set back behind the start of the test shows 00:00:00, not
    // negative fields.
    int64_t s = std::max<int64_t>(0, tool.clock.dateTimeSeconds() - tool.TestStart);
    int64_t hh = (s / 3600) % 100, mm = (s / 60) % 60, ss = s % 60;
    tool.ElapsedLabel.setText("计时：" + TwoDigitField(hh) + ":" + TwoDigitField(mm) + ":" +
                              TwoDigitField(ss));
}

void ResetTest(BoardTool& tool) {
    tool.ReceiveBox.setText("");
    tool.SentCount = 0;
    tool.GoodCount = 0;
    tool.MinWeight = 999999.0f;
    tool.MaxWeight = -999999.0f;
    tool.TestStart = tool.clock.dateTimeSeconds();
}

}  // namespace boardtool
