// The tool's program-wide state and the controls of its main window, shared
// by the link and the settings subsystems. Handlers read and write it
// directly; everything runs on the GUI thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/services.h"

namespace boardtool {

using platform::Text;

// Build constants.
inline constexpr const char* BuildEditionCode = "ROXU";
inline constexpr const char* BuildToolVersion = "18.10.24";

inline constexpr const char* NoCommunicationWarning = "无通讯，请检查电源、通讯线路、及波特率设置!";

struct BoardTool {
    explicit BoardTool(platform::Services& services, platform::Window& mainWindow);

    platform::Services& services;
    platform::Ui& ui;
    platform::Files& files;
    platform::Clock& clock;

    // Main window and its controls.
    platform::Window& MainWindow;
    platform::GroupBox& LinkGroup;
    platform::ComboBox& PortCombo;
    platform::ComboBox& PcBaudCombo;
    platform::Button& OpenButton;
    platform::GroupBox& SettingsGroup;
    platform::ComboBox& BoardBaudCombo;
    platform::ComboBox& TransmitModeCombo;
    platform::ComboBox& ProtocolCombo;
    platform::ComboBox& DecimalsCombo;
    platform::ComboBox& CapacityCombo;
    platform::ComboBox& DivisionCombo;
    platform::ComboBox& ZeroTrackCombo;
    platform::Button& ReadSettingsButton;
    platform::Button& SaveSettingsButton;
    platform::GroupBox& CalibrationGroup;
    platform::Button& CalZeroButton;
    platform::Button& CalHighButton;
    platform::Edit& CalWeightEdit;
    platform::Label& CalUnitLabel;
    platform::GroupBox& WeightGroup;
    platform::Edit& WeightDisplay;
    platform::Label& ZeroLabel;
    platform::Label& NetLabel;
    platform::Label& StableLabel;
    platform::Label& UnitLabel;
    platform::Button& TareButton;
    platform::Button& ZeroButton;
    platform::Button& ClearTareButton;
    platform::CheckBox& InternalCodeCheck;
    platform::Label& StatusLabel;
    platform::Edit& DetectLog;
    platform::GroupBox& VersionGroup;
    platform::Button& VersionButton;
    platform::Button& UpgradeButton;
    platform::GroupBox& TestGroup;
    platform::Label& SentLabel;
    platform::Label& GoodLabel;
    platform::Label& ErrorLabel;
    platform::Label& ElapsedLabel;
    platform::Label& MinLabel;
    platform::Label& MaxLabel;
    platform::Label& DiffLabel;
    platform::Button& ResetTestButton;
    platform::Edit& ReceiveBox;
    platform::Timer& PollTimer;
    platform::Timer& DetectTimer;
    std::unique_ptr<platform::SerialPort> BoardPort;

    // Program-wide state.
    Text EditionCode;
    Text ToolVersion = BuildToolVersion;
    Text UpgradeFolder = "C:\\Program Files\\soft_temp_QX";
    std::array<Text, 27> LetterTable;  // 1-based: [1] = "A" ... [26] = "Z"
    Text FirmwarePrefix;
    std::array<int32_t, 17> FrameWindow{};
    int32_t PortOpened = 0;
    int32_t SettingsReceived = 0;
    int64_t SentCount = 0;
    int64_t GoodCount = 0;
    int64_t TestStart = 0;  // date-time in whole seconds
    int32_t StatusTicks = 0;
    float MinWeight = 999999.0f;
    float MaxWeight = -999999.0f;
    int64_t LastInternalCode = 0;
    int64_t InternalCodeOffset = 0;
    // Open attempts so far; a connection report ends early when a newer
    // attempt started while it was being written.
    int64_t OpenAttempts = 0;
    Text PermissionPassword;

    // Message box of the tool: OK only; a box without a caption of its own
    // shows "信息：".
    void showMessage(const Text& text, const Text& caption = "信息：",
                     platform::Icon icon = platform::Icon::None);
};

// The program: main window, handlers, message loop.
int BoardToolMain(platform::Services& services);

// Called with the tool once its window is built and its handlers are
// connected, before the message loop runs. Empty in the programs; tests set
// it to reach the program-wide state.
inline std::function<void(BoardTool&)> OnToolCreated;

// The state of the running program while BoardToolMain runs, else nullptr.
// Only tests look at it.
extern BoardTool* RunningTool;

}  // namespace boardtool
