# Helpers for the e2e scenarios (sourced by run for each scenario).
FAILURES=0
APP_PID=

note() { echo "-- $*"; }
fail() { echo "FAILED: $*"; FAILURES=$((FAILURES + 1)); }
skip() { echo "$*"; exit 77; }

# The scenario's Wine server, started with the first Wine process of the
# scenario and kept until its end, logging to its own file.
server_up() {
  [ -f "$WORK/$SCENARIO.server" ] && return 0
  wineserver -p >"$SCENARIO_ART/wineserver.log" 2>&1
  touch "$WORK/$SCENARIO.server"
}

# The UI driver; its stdout is UTF-8, without the CR of the Windows console.
# It answers 0, 1 or 2; any other code is the driver itself dying inside
# Wine (seen now and then on a loaded machine), and the command is run once
# more.
drv() {
  server_up
  local out rc attempt
  for attempt in 1 2; do
    out=$(wine "$DRIVER" "$@" | tr -d '\r'; exit "${PIPESTATUS[0]}")
    rc=$?
    [ "$rc" -le 2 ] && break
    echo "uidriver ended with code $rc on '$*' (attempt $attempt)" >&2
  done
  [ -n "$out" ] && printf '%s\n' "$out"
  return "$rc"
}

# Starts a Windows program in the background, from its own folder or from
# APP_CWD when that is set.
app_start() {
  local exe=$1; shift
  server_up
  ( cd "${APP_CWD:-$(dirname "$exe")}" && LD_PRELOAD=$E2E_SHIM WINEDEBUG=${APP_WINEDEBUG:--all} exec wine "$exe" "$@" ) >>"$SCENARIO_ART/app.log" 2>&1 &
  APP_PID=$!
}

# Waits for the program to end, its exit code in APP_RC; fails after the
# timeout (seconds).
app_wait_exit() {
  local limit=${1:-20} i
  APP_RC=
  for ((i = 0; i < limit * 10; i++)); do
    kill -0 "$APP_PID" 2>/dev/null || { wait "$APP_PID"; APP_RC=$?; return 0; }
    sleep 0.1
  done
  fail "the program did not end within ${limit}s"; return 1
}

expect_eq() {  # what, expected, actual
  if [ "$2" == "$3" ]; then note "$1: $3"; else fail "$1: expected '$2', got '$3'"; fi
}
expect_text() { expect_eq "$1.$2 text" "$3" "$(drv text "$1" "$2")"; }
expect_enabled() { expect_eq "$1.$2 enabled" "$3" "$(drv enabled "$1" "$2")"; }
must() { "$@" || { fail "$*"; finish; }; }

# A PNG of a window (a form name or caption, or "box"), or of the screen.
shot() {
  local name=$1 what=${2:-} rect
  if [ -n "$what" ] && rect=$(drv rect "$what"); then
    import -display "$DISPLAY" -window root -crop "$rect" +repage "$SCENARIO_ART/$name.png"
  else
    import -display "$DISPLAY" -window root "$SCENARIO_ART/$name.png"
  fi
}

finish() {
  [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null && kill "$APP_PID" 2>/dev/null
  if [ "$FAILURES" -gt 0 ]; then echo "$FAILURES check(s) failed"; exit 1; fi
  exit 0
}

# Maps COM n of this scenario's prefix to a device (a pseudo-terminal).
# Only before the scenario's first Wine process: the mapping is read at start.
link_com() {
  grep -q "^\"COM$1\"=\"\"" "$WINEPREFIX/system.reg" || { fail "COM$1 is not free in the prefix"; return 1; }
  sed -i "s|^\"COM$1\"=\"\"|\"COM$1\"=\"$2\"|" "$WINEPREFIX/system.reg"
}

# The native package builder (headless preset): make_package MANIFEST OUT.
PKGBUILD=${NATIVE:-$ROOT/build/headless}/companions/pkgbuild/pkgbuild
make_package() {
  [ -x "$PKGBUILD" ] || { fail "$PKGBUILD is missing (build the headless preset)"; return 1; }
  "$PKGBUILD" build "$1" -o "$2" >>"$SCENARIO_ART/pkgbuild.log" 2>&1 || { fail "pkgbuild build $1"; return 1; }
}

# The box on screen as "caption<newline>text", or nothing within MS.
box_now() { drv box "${1:-10000}" 2>/dev/null; }

# The folder of C: in this prefix.
drive_c() { echo "$WINEPREFIX/drive_c"; }
