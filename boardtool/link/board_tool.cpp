#include "board_tool.h"

#include "connect.h"
#include "main_window_form.h"

namespace boardtool {

using namespace platform;

BoardTool::BoardTool(Services& s, Window& w)
    : services(s),
      ui(s.ui()),
      files(s.files()),
      clock(s.clock()),
      MainWindow(w),
      LinkGroup(w.get<GroupBox>("LinkGroup")),
      PortCombo(w.get<ComboBox>("PortCombo")),
      PcBaudCombo(w.get<ComboBox>("PcBaudCombo")),
      OpenButton(w.get<Button>("OpenButton")),
      SettingsGroup(w.get<GroupBox>("SettingsGroup")),
      BoardBaudCombo(w.get<ComboBox>("BoardBaudCombo")),
      TransmitModeCombo(w.get<ComboBox>("TransmitModeCombo")),
      ProtocolCombo(w.get<ComboBox>("ProtocolCombo")),
      DecimalsCombo(w.get<ComboBox>("DecimalsCombo")),
      CapacityCombo(w.get<ComboBox>("CapacityCombo")),
      DivisionCombo(w.get<ComboBox>("DivisionCombo")),
      ZeroTrackCombo(w.get<ComboBox>("ZeroTrackCombo")),
      ReadSettingsButton(w.get<Button>("ReadSettingsButton")),
      SaveSettingsButton(w.get<Button>("SaveSettingsButton")),
      CalibrationGroup(w.get<GroupBox>("CalibrationGroup")),
      CalZeroButton(w.get<Button>("CalZeroButton")),
      CalHighButton(w.get<Button>("CalHighButton")),
      CalWeightEdit(w.get<Edit>("CalWeightEdit")),
      CalUnitLabel(w.get<Label>("CalUnitLabel")),
      WeightGroup(w.get<GroupBox>("WeightGroup")),
      WeightDisplay(w.get<Edit>("WeightDisplay")),
      ZeroLabel(w.get<Label>("ZeroLabel")),
      NetLabel(w.get<Label>("NetLabel")),
      StableLabel(w.get<Label>("StableLabel")),
      UnitLabel(w.get<Label>("UnitLabel")),
      TareButton(w.get<Button>("TareButton")),
      ZeroButton(w.get<Button>("ZeroButton")),
      ClearTareButton(w.get<Button>("ClearTareButton")),
      InternalCodeCheck(w.get<CheckBox>("InternalCodeCheck")),
      StatusLabel(w.get<Label>("StatusLabel")),
      DetectLog(w.get<Edit>("DetectLog")),
      VersionGroup(w.get<GroupBox>("VersionGroup")),
      VersionButton(w.get<Button>("VersionButton")),
      UpgradeButton(w.get<Button>("UpgradeButton")),
      TestGroup(w.get<GroupBox>("TestGroup")),
      SentLabel(w.get<Label>("SentLabel")),
      GoodLabel(w.get<Label>("GoodLabel")),
      ErrorLabel(w.get<Label>("ErrorLabel")),
      ElapsedLabel(w.get<Label>("ElapsedLabel")),
      MinLabel(w.get<Label>("MinLabel")),
      MaxLabel(w.get<Label>("MaxLabel")),
      DiffLabel(w.get<Label>("DiffLabel")),
      ResetTestButton(w.get<Button>("ResetTestButton")),
      ReceiveBox(w.get<Edit>("ReceiveBox")),
      PollTimer(w.get<Timer>("PollTimer")),
      DetectTimer(w.get<Timer>("DetectTimer")),
      BoardPort(s.createSerialPort()) {}

void BoardTool::showMessage(const Text& text, const Text& caption, Icon icon) {
    ui.messageBox(&MainWindow, text, caption, icon, Buttons::Ok);
}

BoardTool* RunningTool = nullptr;

int BoardToolMain(Services& services) {
    Window& window = services.ui().createWindow(MainWindowForm);
    BoardTool tool(services, window);
    struct Running {
        explicit Running(BoardTool& t) { RunningTool = &t; }
        ~Running() { RunningTool = nullptr; }
    } running(tool);
    ConnectLink(tool);
    ConnectSettings(tool);
    if (OnToolCreated) OnToolCreated(tool);
    window.FirstActivated = [&tool] { StartUp(tool); };
    window.CloseQuery = [&tool] {
        SaveRunState(tool);
        return true;
    };
    services.ui().runUntilDestroyed(window);
    return 0;
}

}  // namespace boardtool
