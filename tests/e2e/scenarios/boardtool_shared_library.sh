# Where boardtool-shared.exe takes its run-time library from. A marking
# library that refuses every interface version (marker_runtime.dll, named
# boardsuite-runtime.dll where it is planted) lies in the current directory
# and in a folder on PATH: it is never loaded from there. Without a library
# beside the program or in the registry folder the program shows the error
# box and ends non-zero; with the marking one beside it and the real one in
# the folder named under HKEY_CURRENT_USER, the real one is used.
TOOL=shared
source "$E2E_DIR/tool/tool.sh"
MARKER=$BUILD/tests/e2e/marker_runtime.dll
[ -f "$MARKER" ] || { fail "marker_runtime.dll is not built"; finish; }
KEY='HKCU\Software\BoardSuite\boardtool-shared'

CWD=$WORK/$SCENARIO-cwd && mkdir -p "$CWD"
ONPATH=$WORK/$SCENARIO-path && mkdir -p "$ONPATH"
cp "$MARKER" "$CWD/boardsuite-runtime.dll"
cp "$MARKER" "$ONPATH/boardsuite-runtime.dll"
export WINEPATH=$(winepath -w "$ONPATH" 2>/dev/null | tr -d '\r')
planted_unloaded() {
  for d in "$CWD" "$ONPATH"; do
    [ -e "$d/boardsuite-runtime.dll.loaded" ] && fail "the library in $(basename "$d") was loaded"
  done
  return 0
}

# 1. No library in its own folder, none in the registry.
tool_install without-library
APP_CWD=$CWD app_start "$TOOL_RUN"
box=$(box_now 20000) || fail "no error box"
expect_eq "error box" "$(printf 'Error\nNot found the kernel library or the kernel library is invalid!')" "$box"
shot no_library box
planted_unloaded
drv answer ok || { box_now 1000 >/dev/null && fail "the error box stays after OK"; }
app_wait_exit 20 && { [ "$APP_RC" -ne 0 ] || fail "exit code 0 after the error"; note "exit code $APP_RC"; }

# 2. A library of the wrong interface version beside the program, the real
# one in the registry folder.
LIB=$WORK/$SCENARIO-lib && mkdir -p "$LIB"
cp "$RUNTIME_DLL" "$LIB/"
cp "$MARKER" "$TOOL_DIR/boardsuite-runtime.dll"
wine reg add "$KEY" /v RuntimeFolder /t REG_SZ /d "$(winepath -w "$LIB" 2>/dev/null | tr -d '\r')" /f \
  >>"$SCENARIO_ART/reg.log" 2>&1 || fail "reg add"
APP_CWD=$CWD tool_start
expect_eq "PortCombo selection" "0 COM1" "$(drv selected "$W" PortCombo)"
tool_close
[ -e "$TOOL_DIR/boardsuite-runtime.dll.loaded" ] || fail "the library beside the program was not tried first"
planted_unloaded
