#include "wizard_form.h"

namespace installer {

using namespace platform;

namespace {
constexpr const char* Song = "宋体";
constexpr Font Heading{Song, 16, true, false};
constexpr Font FinishHeading{Song, 21, true, true};
constexpr Font Brand{Song, 12, false, false};
}  // namespace

const FormSpec WizardForm = {
    .name = "WizardWindow",
    .caption = "",
    .place = {0, 0, 480, 337},
    .flags = WindowHidden | FixedSize,
    .controls =
        {
            {.name = "PageTabs", .kind = Kind::TabControl, .place = {0, 0, 473, 272}},

            // 0 Welcome
            {.name = "WelcomePage", .kind = Kind::TabPage, .parent = "PageTabs", .text = "Welcome"},
            {.name = "SidePicture", .kind = Kind::PictureBox, .parent = "WelcomePage",
             .place = {0, 0, 143, 265}},
            {.name = "WelcomeFrame", .kind = Kind::Shape, .parent = "WelcomePage",
             .place = {142, 1, 332, 264}},
            {.name = "WelcomeLabel", .kind = Kind::Label, .parent = "WelcomeFrame",
             .place = {8, 0, 305, 47}, .font = Heading, .flags = WordWrap},
            {.name = "HintLabel", .kind = Kind::Label, .parent = "WelcomeFrame",
             .place = {10, 52, 310, 193}, .flags = WordWrap},

            // 1 Approbation
            {.name = "LicensePage", .kind = Kind::TabPage, .parent = "PageTabs",
             .text = "Approbation"},
            {.name = "LicenseHeading", .kind = Kind::Label, .parent = "LicensePage",
             .place = {16, 10, 112, 24}, .text = "Approbation：", .font = Heading},
            {.name = "LicenseEdit", .kind = Kind::Memo, .parent = "LicensePage",
             .place = {9, 69, 454, 142}, .flags = ReadOnly},
            {.name = "AcceptRadio", .kind = Kind::RadioButton, .parent = "LicensePage",
             .place = {14, 222, 71, 13}, .text = "Accept"},
            {.name = "DeclineRadio", .kind = Kind::RadioButton, .parent = "LicensePage",
             .place = {85, 222, 131, 13}, .text = "Non - acceptance ", .flags = Checked},

            // 2 Self-statement
            {.name = "ReadmePage", .kind = Kind::TabPage, .parent = "PageTabs",
             .text = "Self-statement"},
            {.name = "ReadmeHeading", .kind = Kind::Label, .parent = "ReadmePage",
             .place = {16, 10, 440, 24}, .text = "Self-statement：", .font = Heading},
            {.name = "ReadmeEdit", .kind = Kind::Memo, .parent = "ReadmePage",
             .place = {9, 69, 454, 180}, .flags = ReadOnly},

            // 3 Setup path
            {.name = "PathPage", .kind = Kind::TabPage, .parent = "PageTabs", .text = "Setup path"},
            {.name = "PathHeading", .kind = Kind::Label, .parent = "PathPage",
             .place = {16, 10, 440, 24}, .text = "Setup path：", .font = Heading},
            {.name = "PathLabel", .kind = Kind::Label, .parent = "PathPage",
             .place = {16, 80, 440, 88}, .flags = WordWrap},
            {.name = "PathPrompt", .kind = Kind::Label, .parent = "PathPage",
             .place = {23, 208, 72, 16}, .text = "Setup Path："},
            {.name = "PathEdit", .kind = Kind::Edit, .parent = "PathPage",
             .place = {97, 206, 312, 18}},
            {.name = "BrowseButton", .kind = Kind::Button, .parent = "PathPage",
             .place = {415, 206, 32, 18}, .text = "..."},

            // 4 Prepare
            {.name = "PreparePage", .kind = Kind::TabPage, .parent = "PageTabs", .text = "Prepare"},
            {.name = "PrepareHeading", .kind = Kind::Label, .parent = "PreparePage",
             .place = {16, 10, 440, 24}, .text = "Start setup", .font = Heading},
            {.name = "StartSetupLabel", .kind = Kind::Label, .parent = "PreparePage",
             .place = {16, 80, 440, 175}, .flags = WordWrap},

            // 5 Progress
            {.name = "ProgressPage", .kind = Kind::TabPage, .parent = "PageTabs",
             .text = "Progress"},
            {.name = "ProgressHeading", .kind = Kind::Label, .parent = "ProgressPage",
             .place = {16, 10, 440, 24}, .text = "Copying file...", .font = Heading},
            {.name = "CopyingCaption", .kind = Kind::Label, .parent = "ProgressPage",
             .place = {20, 71, 94, 16}, .text = "Copying："},
            {.name = "FileNameLabel", .kind = Kind::Label, .parent = "ProgressPage",
             .place = {47, 97, 407, 16}},
            {.name = "ProgressCaption", .kind = Kind::Label, .parent = "ProgressPage",
             .place = {22, 127, 80, 16}, .text = "Progress："},
            {.name = "CopyProgress", .kind = Kind::ProgressBar, .parent = "ProgressPage",
             .place = {22, 161, 428, 21}},
            {.name = "StopHint", .kind = Kind::Label, .parent = "ProgressPage",
             .place = {22, 195, 314, 16},
             .text = "You can press \"Esc\" button stoppage to copy progress。"},

            // 6 Information
            {.name = "FinishPage", .kind = Kind::TabPage, .parent = "PageTabs",
             .text = "Information"},
            {.name = "FinishHeading", .kind = Kind::Label, .parent = "FinishPage",
             .place = {16, 10, 440, 24}, .text = "Setup finish!", .font = FinishHeading},
            {.name = "SuccessLabel", .kind = Kind::Label, .parent = "FinishPage",
             .place = {16, 80, 440, 116}, .flags = WordWrap},
            {.name = "RunAfterCheck", .kind = Kind::CheckBox, .parent = "FinishPage",
             .place = {272, 212, 192, 24}, .text = "Start the software after exiting",
             .flags = Hidden},

            // Drawn over the page headers, so listed after the tab control.
            {.name = "BannerCanvas", .kind = Kind::Canvas, .place = {-2, -2, 477, 59},
             .font = Heading},
            {.name = "BrandLabel", .kind = Kind::Label, .place = {6, 260, 90, 24},
             .text = "Software Setup", .font = Brand, .flags = Hidden},
            {.name = "SeparatorShape", .kind = Kind::Shape, .place = {10, 271, 454, 8},
             .flags = Hidden},
            {.name = "BackButton", .kind = Kind::Button, .place = {181, 279, 80, 23},
             .text = "Back<<(&B)", .flags = Disabled},
            {.name = "NextButton", .kind = Kind::Button, .place = {274, 279, 80, 23},
             .text = "Next>>(&N)"},
            {.name = "CancelButton", .kind = Kind::Button, .place = {367, 279, 80, 23},
             .text = "Esc(&C)"},
        },
};

}  // namespace installer
