// Customer editions: the protocol list each offers and its window caption.
#pragma once

#include <vector>

#include "board_tool.h"

namespace boardtool {

enum class ProtocolList { Rovan, SelmarAtStart, Selmar };

// Clears up to 20 entries of ProtocolCombo, then adds the edition's entries,
// each with its position as item value.
void FillProtocolList(BoardTool& tool, ProtocolList list);

}  // namespace boardtool
