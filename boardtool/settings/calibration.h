// Two-point calibration: the empty platform, then a known weight.
#pragma once

#include "../link/board_tool.h"

namespace boardtool {

// "标定零点": the operator clears the platform, then "CAL0000000" goes out.
void CalibrateZero(BoardTool& tool);
// "标定高点": the weight of CalWeightEdit, cut to the decimal places and
// limited to the capacity, goes out as seven digits.
void CalibrateHigh(BoardTool& tool);

}  // namespace boardtool
