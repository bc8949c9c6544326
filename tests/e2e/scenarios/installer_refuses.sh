# The installer refuses what it cannot use: a package with a wrong magic
# number, one of a later format, one cut short inside its 8-byte header, and
# a missing package. Each time
# only the error box shows, no wizard opens, and OK ends the program.
INSTALLER=$BUILD/installer/installer.exe
[ -f "$INSTALLER" ] || skip "installer.exe is not built"

SRC=$WORK/$SCENARIO-src && mkdir -p "$SRC"
make_package "$ROOT/companions/pkgbuild/sample/demo.manifest" "$SRC/good.pkg" || finish

# A wrong first byte (the magic number), format version 5, and a file that
# ends inside the header.
cp "$SRC/good.pkg" "$SRC/magic.pkg"
printf '\xff' | dd of="$SRC/magic.pkg" bs=1 seek=0 conv=notrunc status=none
cp "$SRC/good.pkg" "$SRC/version5.pkg"
printf '\x05' | dd of="$SRC/version5.pkg" bs=1 seek=4 conv=notrunc status=none
head -c 6 "$SRC/good.pkg" >"$SRC/short.pkg"

refused() {  # package, expected text, screenshot name
  APP_CWD=$SRC app_start "$INSTALLER" "$1"
  local box
  box=$(box_now 20000) || { fail "$1: no message box"; app_wait_exit 5; return; }
  expect_eq "$1: box" "$(printf '错误\n%s' "$2")" "$box"
  drv wait-window WizardWindow 300 >/dev/null 2>&1 && fail "$1: the wizard opened"
  [ -n "$3" ] && shot "$3" box
  must drv answer ok
  app_wait_exit 20
}

refused magic.pkg "读取或解析数据文件失败!" damaged_package
refused version5.pkg "读取或解析数据文件失败!" ""
refused short.pkg "读取或解析数据文件失败!" ""
refused missing.pkg "数据文件名不存在!" ""

# The good package opens the wizard: the refusals above came from the damage.
APP_CWD=$SRC app_start "$INSTALLER" good.pkg
drv wait-window WizardWindow 20000 >/dev/null || fail "the undamaged package did not open the wizard"
drv close WizardWindow
box=$(box_now 10000) && must drv answer yes
app_wait_exit 20
