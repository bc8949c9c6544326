# Shared by the e2e runner and scripts/demo (sourced): a virtual display when
# there is none, and the making of a Wine prefix whose COM ports are all
# taken, so that only ports mapped on purpose (link_com) reach a program.

# start_display LOGFILE: starts Xvfb on a free display when DISPLAY is unset;
# sets XVFB_PID (empty when a display was already there).
start_display() {
  XVFB_PID=
  [ -n "${DISPLAY:-}" ] && return 0
  local n=91
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >"$1" 2>&1 &
  XVFB_PID=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
}

# The environment every Wine process of a run shares.
wine_environment() {
  export WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# make_prefix PREFIX LOGFILE. Wine gives the machine's serial devices the
# first COM numbers left free in HKLM\Software\Wine\Ports; with COM1..COM255
# marked absent there, a real device can only become COM256, out of every
# program's reach.
make_prefix() {
  local prefix=$1 log=$2 reg=$1.ports.reg
  WINEPREFIX=$prefix wineboot -i >"$log" 2>&1
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for i in $(seq 1 255); do printf '"COM%d"=""\r\n' "$i"; done
    # No window manager runs on the display: Wine draws the window frames.
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
  } >"$reg"
  WINEPREFIX=$prefix wine regedit /S "$(WINEPREFIX=$prefix winepath -w "$reg")" >>"$log" 2>&1
  WINEPREFIX=$prefix wineserver -w
  rm -f "$prefix"/dosdevices/com* "$reg"
}

# build_shim DIR: the modem-line shim for pseudo-terminals (LD_PRELOAD of the
# Windows programs that talk to one); sets E2E_SHIM.
build_shim() {
  gcc -shared -fPIC -O2 -o "$1/modem_shim.so" "$E2E_DIR/shim/modem_shim.c" -ldl || return 1
  export E2E_SHIM=$1/modem_shim.so
}
