#include "numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace boardtool {

double NumericValue(const Text& text) {
    Text t = platform::TrimBlanks(text);
    size_t i = 0, digits = 0, points = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            ++digits;
        else if (t[i] == '.' && points == 0)
            ++points;
        else
            return 0.0;
    }
    if (digits == 0) return 0.0;
    return std::strtod(t.c_str(), nullptr);
}

Text DecimalText(double value) {
    char buf[64];
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        std::snprintf(buf, sizeof buf, "%.0f", value);
    else
        std::snprintf(buf, sizeof buf, "%.13g", value);
    Text t = buf;
    if (t == "-0") t = "0";
    return t;
}

}  // namespace boardtool
