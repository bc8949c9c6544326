#include "permission.h"

namespace boardtool {

using namespace platform;

const FormSpec PermissionWindowForm = {
    .name = "PermissionWindow",
    .caption = "开启高级功能权限",
    .place = {50, 50, 380, 250},
    .flags = WindowHidden | FixedSize,
    .controls = {
        {.name = "PermissionGroup", .kind = Kind::GroupBox, .place = {88, 40, 192, 112},
         .text = "请输入高级权限密码"},
        {.name = "PasswordEdit", .kind = Kind::Edit, .parent = "PermissionGroup", .place = {24, 29, 144, 32},
         .flags = AlignCenter | PasswordMask, .maxLength = 8},
        {.name = "PermissionOkButton", .kind = Kind::Button, .parent = "PermissionGroup",
         .place = {48, 72, 80, 32}, .text = "确定"},
    },
};

bool GrantsPermission(const Text& password) { return password == "9517wxyz" || password == "9517WXYZ"; }

void AskForPassword(BoardTool& tool) {
    Window& window = tool.ui.createWindow(PermissionWindowForm);
    Edit& password = window.get<Edit>("PasswordEdit");
    window.FirstActivated = [&password] { password.setFocus(); };
    window.get<Button>("PermissionOkButton").Clicked = [&tool, &window, &password] {
        tool.PermissionPassword = password.text();
        window.destroy();
    };
    // The close box only closes the window; the password stays as it was.
    window.showModal(&tool.MainWindow);
}

}  // namespace boardtool
