// Start-up of the tool, run once when the main window is first activated.
#include <cmath>

#include "../settings/capacity.h"
#include "../settings/run_state.h"
#include "connect.h"
#include "edition.h"
#include "numbers.h"

namespace boardtool {

void StartUp(BoardTool& tool) {
    for (int i = 1; i <= 26; ++i) tool.LetterTable[i] = Text(1, static_cast<char>('A' + i - 1));
    tool.MinWeight = 999999.0f;
    tool.MaxWeight = -999999.0f;
    tool.EditionCode = BuildEditionCode;
    if (tool.EditionCode == "ROXU")
        FillProtocolList(tool, ProtocolList::Rovan);
    else if (tool.EditionCode == "QJV")
        FillProtocolList(tool, ProtocolList::SelmarAtStart);

    RestoreRunState(tool);
    RelabelCapacities(tool);
    if (std::fabs(NumericValue(tool.CalWeightEdit.text())) < 1e-7)
        tool.CalWeightEdit.setText(tool.CapacityCombo.selectedText());
    tool.PortCombo.select(0);

    tool.ToolVersion = BuildToolVersion;
    tool.UpgradeFolder = "C:\\Program Files\\soft_temp_QX";
    tool.MainWindow.setCaption("Pesavo_[" + tool.ToolVersion + "]");
}

}  // namespace boardtool
