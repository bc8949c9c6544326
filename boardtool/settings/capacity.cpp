#include "capacity.h"

namespace boardtool {

const char* const CapacityTable[5][8] = {
    {"3000", "6000", "15000", "30000", "60000", "100000", "150000", "300000"},
    {"300.0", "600.0", "1500.0", "3000.0", "6000.0", "10000.0", "15000.0", "30000.0"},
    {"30.00", "60.00", "150.00", "300.00", "600.00", "1000.00", "1500.00", "3000.00"},
    {"3.000", "6.000", "15.000", "30.000", "60.000", "100.000", "150.000", "300.000"},
    {"0.3000", "0.6000", "1.5000", "3.0000", "6.0000", "10.0000", "15.0000", "30.0000"},
};

void RelabelCapacities(BoardTool& tool) {
    int d = tool.DecimalsCombo.selected();
    if (d < 0 || d > 4) return;
    for (int i = 0; i < 8; ++i) tool.CapacityCombo.setItemText(i, CapacityTable[d][i]);
}

}  // namespace boardtool
