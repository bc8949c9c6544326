#include "main_window_form.h"

namespace boardtool {

using namespace platform;

namespace {
const Font SongBold91{"宋体", 91, true};
const Font SongBold32{"宋体", 32, true};
const Font Times16{"Times New Roman", 16};
const Font Yahei16{"微软雅黑", 16};
const Font HeiBold16{"黑体", 16, true};
}  // namespace

const FormSpec MainWindowForm = {
    .name = "MainWindow",
    .caption = "",
    .place = {50, 50, 696, 617},
    .flags = MinimizeButton | FixedSize,
    .controls = {
        // Link
        {.name = "LinkGroup", .kind = Kind::GroupBox, .place = {2, 0, 222, 88}, .text = "通讯"},
        {.kind = Kind::Label, .parent = "LinkGroup", .place = {20, 26, 45, 24}, .text = "端口"},
        {.name = "PortCombo", .kind = Kind::ComboBox, .parent = "LinkGroup", .place = {69, 23, 78, 40}},
        {.kind = Kind::Label, .parent = "LinkGroup", .place = {7, 53, 60, 24}, .text = "波特率"},
        {.name = "PcBaudCombo", .kind = Kind::ComboBox, .parent = "LinkGroup", .place = {69, 53, 78, 40},
         .items = {{"1200", 1200}, {"2400", 2400}, {"4800", 4800}, {"9600", 9600}}},
        {.name = "OpenButton", .kind = Kind::Button, .parent = "LinkGroup", .place = {151, 18, 60, 60},
         .text = "打开"},

        // Board settings, top to bottom
        {.name = "SettingsGroup", .kind = Kind::GroupBox, .place = {232, 0, 280, 233}, .text = "设置",
         .flags = Disabled},
        {.kind = Kind::Label, .parent = "SettingsGroup", .place = {9, 18, 74, 24}, .text = "通讯波特率"},
        {.name = "BoardBaudCombo", .kind = Kind::ComboBox, .parent = "SettingsGroup",
         .place = {87, 19, 180, 30},
         .items = {{"1200", 0}, {"2400", 1}, {"4800", 2}, {"9600", 3}}},
        {.kind = Kind::Label, .parent = "SettingsGroup", .place = {9, 40, 76, 24}, .text = "通讯方式"},
        {.name = "TransmitModeCombo", .kind = Kind::ComboBox, .parent = "SettingsGroup",
         .place = {87, 42, 180, 30}, .flags = Disabled,
         .items = {{"稳定传输", 0}, {"改变传输", 1}, {"连续传输", 2}, {"应答式传输", 3}}},
        {.kind = Kind::Label, .parent = "SettingsGroup", .place = {8, 63, 76, 24}, .text = "通讯协议"},
        {.name = "ProtocolCombo", .kind = Kind::ComboBox, .parent = "SettingsGroup",
         .place = {86, 65, 180, 30}},
        {.kind = Kind::Label, .parent = "SettingsGroup", .place = {8, 86, 76, 24}, .text = "小数点位置"},
        {.name = "DecimalsCombo", .kind = Kind::ComboBox, .parent = "SettingsGroup",
         .place = {86, 88, 180, 30},
         .items = {{"0", 0}, {"0.0", 1}, {"0.00", 2}, {"0.000", 3}, {"0.0000", 4}}},
        {.kind = Kind::Label, .parent = "SettingsGroup", .place = {8, 110, 76, 24}, .text = "最大称量"},
        {.name = "CapacityCombo", .kind = Kind::ComboBox, .parent = "SettingsGroup",
         .place = {86, 112, 180, 30},
         .items = {{"3000", 0}, {"6000", 1}, {"15000", 2}, {"30000", 3}, {"60000", 4},
                   {"100000", 5}, {"150000", 6}, {"300000", 7}}},
        {.kind = Kind::Label, .parent = "SettingsGroup", .place = {8, 134, 76, 24}, .text = "显示分度值"},
        {.name = "DivisionCombo", .kind = Kind::ComboBox, .parent = "SettingsGroup",
         .place = {86, 136, 180, 30},
         .items = {{"d=1/2  双分度", 0}, {"d=2/5  双分度", 1}, {"d=5/10  双分度", 2}, {"d=1", 3},
                   {"d=2", 4}, {"d=5", 5}, {"d=10", 6}, {"d=20", 7}, {"d=50", 8}}},
        {.kind = Kind::Label, .parent = "SettingsGroup", .place = {8, 157, 76, 24}, .text = "零点跟踪"},
        {.name = "ZeroTrackCombo", .kind = Kind::ComboBox, .parent = "SettingsGroup",
         .place = {86, 159, 180, 30},
         .items = {{"0.25d", 0}, {"0.5d", 1}, {"1d", 2}, {"2d", 3}, {"3d", 4}}},
        {.name = "ReadSettingsButton", .kind = Kind::Button, .parent = "SettingsGroup",
         .place = {46, 181, 75, 28}, .text = "读取设置"},
        {.name = "SaveSettingsButton", .kind = Kind::Button, .parent = "SettingsGroup",
         .place = {162, 181, 75, 28}, .text = "保存设置"},
        {.name = "SaveHintLabel", .kind = Kind::Label, .parent = "SettingsGroup",
         .place = {67, 213, 160, 16}, .text = "修改参数后，请点保存设置！"},

        // Calibration
        {.name = "CalibrationGroup", .kind = Kind::GroupBox, .place = {2, 97, 222, 136}, .text = "标定",
         .flags = Disabled},
        {.name = "CalZeroButton", .kind = Kind::Button, .parent = "CalibrationGroup",
         .place = {18, 21, 80, 45}, .text = "标定\r\n零点", .flags = WordWrap},
        {.name = "CalHighButton", .kind = Kind::Button, .parent = "CalibrationGroup",
         .place = {124, 20, 80, 45}, .text = "标定\r\n高点", .flags = WordWrap},
        {.name = "CalWeightLabel", .kind = Kind::Label, .parent = "CalibrationGroup",
         .place = {18, 70, 80, 32}, .text = "高点标定值"},
        {.name = "CalWeightEdit", .kind = Kind::Edit, .parent = "CalibrationGroup",
         .place = {99, 74, 88, 24}, .flags = AlignRight | DecimalInput, .maxLength = 7},
        {.name = "CalUnitLabel", .kind = Kind::Label, .parent = "CalibrationGroup",
         .place = {187, 70, 22, 32}, .text = "kg"},

        // Weight
        {.name = "WeightGroup", .kind = Kind::GroupBox, .place = {3, 240, 509, 168}, .text = "重量",
         .flags = Disabled},
        {.name = "WeightDisplay", .kind = Kind::Edit, .parent = "WeightGroup", .place = {8, 23, 437, 97},
         .text = "---------", .font = SongBold91, .flags = ReadOnly},
        {.name = "ZeroLabel", .kind = Kind::Label, .parent = "WeightGroup", .place = {451, 28, 40, 20},
         .text = "零点"},
        {.name = "NetLabel", .kind = Kind::Label, .parent = "WeightGroup", .place = {451, 46, 40, 20},
         .text = "净重"},
        {.name = "StableLabel", .kind = Kind::Label, .parent = "WeightGroup", .place = {451, 64, 40, 20},
         .text = "稳定"},
        {.name = "UnitLabel", .kind = Kind::Label, .parent = "WeightGroup", .place = {451, 72, 37, 44},
         .text = "kg", .font = SongBold32},
        {.name = "TareButton", .kind = Kind::Button, .parent = "WeightGroup", .place = {157, 121, 90, 40},
         .text = "去皮"},
        {.name = "ZeroButton", .kind = Kind::Button, .parent = "WeightGroup", .place = {278, 121, 90, 40},
         .text = "置零"},
        {.name = "ClearTareButton", .kind = Kind::Button, .parent = "WeightGroup",
         .place = {35, 121, 90, 40}, .text = "清皮重"},
        {.name = "InternalCodeCheck", .kind = Kind::CheckBox, .parent = "WeightGroup",
         .place = {405, 128, 96, 24}, .text = "内码模式"},

        {.name = "StatusLabel", .kind = Kind::Label, .place = {3, 409, 509, 24}, .text = ">>>",
         .font = Times16},
        {.name = "DetectLog", .kind = Kind::Memo, .place = {2, 440, 518, 144}, .font = Yahei16},

        // Firmware version
        {.name = "VersionGroup", .kind = Kind::GroupBox, .place = {522, 0, 167, 120}, .text = "版本信息",
         .flags = Disabled},
        {.name = "VersionButton", .kind = Kind::Button, .parent = "VersionGroup", .place = {8, 23, 150, 40},
         .text = "固件版本：XX.XX.XX", .flags = Disabled},
        {.name = "UpgradeButton", .kind = Kind::Button, .parent = "VersionGroup", .place = {8, 72, 150, 40},
         .text = "启动固件升级"},

        // Communication test
        {.name = "TestGroup", .kind = Kind::GroupBox, .place = {521, 131, 167, 453}, .text = "通讯统计测试",
         .flags = Disabled},
        {.name = "TestInfoGroup", .kind = Kind::GroupBox, .parent = "TestGroup", .place = {7, 17, 153, 196},
         .flags = NoCaption},
        {.name = "SentLabel", .kind = Kind::Label, .parent = "TestInfoGroup", .place = {8, 10, 140, 16},
         .text = "测试：0次", .font = HeiBold16},
        {.name = "GoodLabel", .kind = Kind::Label, .parent = "TestInfoGroup", .place = {8, 28, 140, 16},
         .text = "正常：0次", .font = HeiBold16},
        {.name = "ErrorLabel", .kind = Kind::Label, .parent = "TestInfoGroup", .place = {8, 47, 140, 16},
         .text = "错误：0次", .font = HeiBold16},
        {.name = "ElapsedLabel", .kind = Kind::Label, .parent = "TestInfoGroup", .place = {8, 67, 140, 16},
         .text = "计时：00:00:00", .font = HeiBold16},
        {.name = "MinLabel", .kind = Kind::Label, .parent = "TestInfoGroup", .place = {8, 98, 140, 16},
         .text = "最小值：xxxxx", .font = HeiBold16},
        {.name = "MaxLabel", .kind = Kind::Label, .parent = "TestInfoGroup", .place = {8, 117, 140, 16},
         .text = "最大值：xxxxx", .font = HeiBold16},
        {.name = "DiffLabel", .kind = Kind::Label, .parent = "TestInfoGroup", .place = {8, 136, 140, 16},
         .text = "差  值：xxxxx", .font = HeiBold16},
        {.name = "ResetTestButton", .kind = Kind::Button, .parent = "TestInfoGroup",
         .place = {23, 160, 104, 31}, .text = "清空重计"},
        {.name = "ReceiveBox", .kind = Kind::Memo, .parent = "TestGroup", .place = {4, 215, 155, 230}},

        {.name = "PollTimer", .kind = Kind::Timer},
        {.name = "DetectTimer", .kind = Kind::Timer},
    },
};

}  // namespace boardtool
