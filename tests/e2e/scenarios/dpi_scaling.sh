# The tool's main window and the installer's wizard at 96 and at 144 DPI:
# at 144 the windows are half as large again, with the same proportions.
TOOL=$BUILD/boardtool/boardtool.exe
SETUP=$BUILD/installer/installer.exe
PKGBUILD=$BUILD/companions/pkgbuild/pkgbuild.exe
for f in "$TOOL" "$SETUP" "$PKGBUILD"; do [ -f "$f" ] || skip "$(basename "$f") is not built"; done

DIR=$WORK/$SCENARIO && mkdir -p "$DIR/tool"
cp "$TOOL" "$DIR/tool/"
cp -a "$ROOT/companions/pkgbuild/sample" "$DIR/pkg"
server_up
( cd "$DIR/pkg" && wine "$PKGBUILD" build demo.manifest -o demo.pkg ) >>"$SCENARIO_ART/app.log" 2>&1
[ -f "$DIR/pkg/demo.pkg" ] || { fail "pkgbuild made no package"; finish; }
W="Pesavo_[18.10.24]"

set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >>"$SCENARIO_ART/app.log" 2>&1
}

# Width and height of a window's outer rectangle, "W H".
outer() { drv rect "$1" | sed 's/^\([0-9]*\)x\([0-9]*\)+.*/\1 \2/'; }

declare -A size
for dpi in 96 144; do
  set_dpi "$dpi"
  rm -f "$DIR/tool/port.ini"
  app_start "$DIR/tool/boardtool.exe"
  must drv wait-window "$W" 20000
  sleep 1
  size[tool$dpi]=$(outer "$W")
  shot "boardtool_$dpi" "$W"
  drv close "$W"
  app_wait_exit 20

  cp "$DIR/pkg/demo.pkg" "$DIR/run$dpi.pkg"  # the installer deletes its package at the end
  app_start "$SETUP" "$(winepath -w "$DIR/run$dpi.pkg")"
  must drv wait-window WizardWindow 20000
  sleep 1
  size[wizard$dpi]=$(outer WizardWindow)
  shot "wizard_$dpi" WizardWindow
  kill "$APP_PID" 2>/dev/null
  wait "$APP_PID" 2>/dev/null
  wineserver -k15 2>/dev/null; wineserver -w 2>/dev/null; rm -f "$WORK/$SCENARIO.server"
done

# 144 / 96 = 1.5, allowing a few pixels for frames and rounding.
for what in tool wizard; do
  read -r w1 h1 <<<"${size[${what}96]}"
  read -r w2 h2 <<<"${size[${what}144]}"
  note "$what: ${w1}x${h1} at 96 DPI, ${w2}x${h2} at 144 DPI"
  if [ -z "$w1" ] || [ -z "$w2" ]; then fail "$what: no size"; continue; fi
  for pair in "$w1 $w2" "$h1 $h2"; do
    read -r a b <<<"$pair"
    d=$(( 2 * b - 3 * a ))
    [ "${d#-}" -le 12 ] || fail "$what: $b is not 1.5 x $a"
  done
done
