# Helpers for the scenarios of the tool: boardtool.exe, or boardtool-shared.exe
# with its run-time library beside it (TOOL=shared). Sourced by a scenario.
TOOL=${TOOL:-plain}
BOARDSIM=${BOARDSIM:-$ROOT/build/headless/companions/boardsim/boardsim}
RUNTIME_DLL=$BUILD/platform/win32/boardsuite-runtime.dll
case "$TOOL" in
  plain) TOOL_EXE=$BUILD/boardtool/boardtool.exe ;;
  shared) TOOL_EXE=$BUILD/boardtool/boardtool-shared.exe ;;
  *) fail "TOOL is plain or shared, not $TOOL"; finish ;;
esac
[ -f "$TOOL_EXE" ] || skip "$(basename "$TOOL_EXE") is not built"
[ "$TOOL" = plain ] || [ -f "$RUNTIME_DLL" ] || skip "boardsuite-runtime.dll is not built"
W=MainWindow

# A folder of its own with the program (and the library beside it when
# shared and asked for): TOOL_DIR, TOOL_RUN.
tool_install() {  # [with-library|without-library]
  TOOL_DIR=$WORK/$SCENARIO-tool && rm -rf "$TOOL_DIR" && mkdir -p "$TOOL_DIR"
  cp "$TOOL_EXE" "$TOOL_DIR/"
  TOOL_RUN=$TOOL_DIR/$(basename "$TOOL_EXE")
  if [ "$TOOL" = shared ] && [ "${1:-with-library}" = with-library ]; then cp "$RUNTIME_DLL" "$TOOL_DIR/"; fi
}

# port.ini naming COM5, the rest at the first-start values.
tool_port_ini() {
  printf 'ok\r\n5\r\n9600\r\n3\r\n2\r\n0\r\n2\r\n3\r\n3\r\n3\r\n15.000\r\n' >"$TOOL_DIR/port.ini"
}

# Starts the tool (from APP_CWD when set) and waits for its start-up to end.
# The window shows before start-up has filled it from port.ini; setting the
# caption is start-up's last step.
tool_start() {
  app_start "$TOOL_RUN"
  must drv wait-window "$W" 20000
  for _ in $(seq 100); do [ -n "$(drv caption "$W")" ] && return 0; sleep 0.1; done
  fail "start-up set no caption"
}

# Closes the main window; the program must end, and end well.
tool_close() {
  must drv close "$W"
  app_wait_exit 20 && expect_eq "exit code" 0 "$APP_RC"
}

# The virtual board as COM5 (before the scenario's first Wine process). Its
# commands go to board.log; "board_load W" puts W on its platform.
board_start() {  # boardsim options...
  [ -x "$BOARDSIM" ] || skip "boardsim is not built (headless preset)"
  local link=$WORK/$SCENARIO.com5
  rm -f "$link" "$WORK/$SCENARIO.board-in" && mkfifo "$WORK/$SCENARIO.board-in"
  "$BOARDSIM" --link "$link" --verbose --stdin "$@" <"$WORK/$SCENARIO.board-in" \
    >"$SCENARIO_ART/board.out" 2>"$SCENARIO_ART/board.log" &
  BOARD_PID=$!
  trap board_stop EXIT
  exec 7>"$WORK/$SCENARIO.board-in"
  for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
  [ -L "$link" ] || { fail "boardsim made no pseudo-terminal"; finish; }
  link_com 5 "$(readlink "$link")"
}
board_load() { echo "load $1" >&7; }
board_stop() {
  exec 7>&-
  [ -n "${BOARD_PID:-}" ] && kill "$BOARD_PID" 2>/dev/null && wait "$BOARD_PID" 2>/dev/null
  BOARD_PID=
}

# Opens COM5 with OpenButton and waits for the board's settings.
tool_open() {
  expect_eq "PortCombo" "0 COM5" "$(drv selected "$W" PortCombo)"
  must drv click "$W" OpenButton
  drv wait-text "$W" OpenButton "关闭" 5000 || { fail "COM5 did not open"; finish; }
}

# Opens COM5 and waits until CONTROL shows TEXT from the board's settings and
# the firmware version has come. Under Wine the receiver reads a
# pseudo-terminal byte by byte and slowly; a reply still in the driver when
# the next command purges the line is lost now and then, as it would be on a
# slow real port. The user's remedy is to open the port again: up to two
# more opens.
tool_open_settled() {  # control text
  local retry
  tool_open
  for retry in 1 2 3; do
    if drv wait-text "$W" "$1" "$2" 3000 >/dev/null &&
      [ "$(drv text "$W" VersionButton)" != "固件版本：XX.XX.XX" ]; then
      return 0
    fi
    [ "$retry" = 3 ] && return 1
    note "a reply of the open was lost on the line; opening the port again ($retry)"
    must drv click "$W" OpenButton
    drv wait-text "$W" OpenButton "打开" 5000 || fail "COM5 did not close"
    tool_open
  done
}

# Clicks 读取设置 until CONTROL shows TEXT (the reply can be lost as above).
tool_read_settled() {  # control text
  local retry
  for retry in 1 2 3; do
    must drv click "$W" ReadSettingsButton
    drv wait-text "$W" "$1" "$2" 3000 >/dev/null && return 0
    note "no settings after 读取设置 ($retry)"
  done
  return 1
}

# The entry at INDEX of a list.
item_of() { drv items "$W" "$1" | sed -n "$(($2 + 1))p"; }

# Waits until a control's text satisfies a shell pattern.
wait_match() {  # control pattern ms
  local i t
  for ((i = 0; i < $3 / 100; i++)); do
    t=$(drv text "$W" "$1")
    # shellcheck disable=SC2053
    [[ $t == $2 ]] && return 0
    sleep 0.1
  done
  fail "$1 reads '$t', not $2"
  return 1
}

# The number inside a counter label such as 测试：12次.
count_of() { drv text "$W" "$1" | tr -dc '0-9'; }
