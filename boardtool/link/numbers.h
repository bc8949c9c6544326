// Numbers in texts, as the tool reads and writes them.
#pragma once

#include <cstdint>

#include "platform/text.h"

namespace boardtool {

using platform::Text;

// The decimal number a text spells (optional sign, digits, optional point);
// a text that is not a number has the value 0.
double NumericValue(const Text& text);
// Plain decimal for integers, "%.13g" for fractional numbers.
Text DecimalText(double value);

}  // namespace boardtool
