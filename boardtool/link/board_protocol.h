// Every byte that crosses the serial line between the tool and the board.
//
// The PC sends short ASCII commands ended by CR LF, handed to the port in
// pieces written back to back; the board answers with 17-byte frames ended
// by CR LF.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "board_tool.h"

namespace boardtool {

inline constexpr int FrameLength = 17;

// Commands, without their CR LF.
inline constexpr const char* PollCommand = "P0";
inline constexpr const char* InternalCodePollCommand = "N5";
inline constexpr const char* VersionCommand = "V6";
inline constexpr const char* ReadSettingsCommand = "R1";
inline constexpr const char* TareCommand = "T3";
inline constexpr const char* ZeroCommand = "Z4";
inline constexpr const char* ClearTareCommand = "Q7";

// "W", seven positions as two digits each, their sum as two digits.
Text SaveSettingsCommand(const std::array<int, 7>& positions);
// "CAL" followed by the seven weight digits.
Text CalibrationCommand(const Text& weightDigits);

// Sends a command one character at a time, then CR and LF, each piece its own
// write. A closed port sends nothing.
void SendCommand(BoardTool& tool, const Text& command);

enum class FrameKind { Settings, Version, Weight, Other };

// The frame type from offset 0 and, for sign-led frames, offset 8.
FrameKind ClassifyFrame(const std::array<int32_t, 17>& frame);

// The weight text of a sign-led frame, decoded from offsets 1 to 7.
Text DecodeWeightText(const std::array<int32_t, 17>& frame);

}  // namespace boardtool
