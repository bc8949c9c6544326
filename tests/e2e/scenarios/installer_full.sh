# A full installation of a package built here from the sample manifest, page
# by page with a screenshot of each, then the installed files, uninstall.ini,
# the shortcuts in the Programs folder and the system's uninstall entry; then
# uninstall.exe takes it all away again.
INSTALLER=$BUILD/installer/installer.exe
SETUP_DLL=$BUILD/companions/setupdll/setup.dll
UNINSTALL=$BUILD/companions/uninstall/uninstall.exe
for f in "$INSTALLER" "$SETUP_DLL" "$UNINSTALL"; do
  [ -f "$f" ] || skip "$(basename "$f") is not built"
done
SAMPLE_DIR=$ROOT/companions/pkgbuild/sample
PRODUCT="Demo Scale Suite"
KEY="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$PRODUCT"

# The installer and the good setup.dll in one folder; the package and the
# uninstaller (the installer takes it from its current directory) in another.
BIN=$WORK/$SCENARIO-bin SRC=$WORK/$SCENARIO-src
mkdir -p "$BIN" "$SRC"
cp "$INSTALLER" "$SETUP_DLL" "$BIN/"
cp "$UNINSTALL" "$SRC/"
make_package "$SAMPLE_DIR/demo.manifest" "$SRC/demo.pkg" || finish
"$PKGBUILD" dump "$SRC/demo.pkg" >"$SCENARIO_ART/package-dump.txt" 2>&1

# page NAME CONTROL: waits until CONTROL (only on that page) shows.
page() {
  local i
  for ((i = 0; i < 100; i++)); do
    [ "$(drv visible WizardWindow "$2")" == 1 ] && { note "page $1"; return 0; }
    sleep 0.1
  done
  fail "page $1 did not show"; return 1
}
next() { must drv click WizardWindow NextButton; }

APP_CWD=$SRC app_start "$BIN/installer.exe" demo.pkg
must drv wait-window WizardWindow 30000
expect_eq "background caption" "$PRODUCT 安装" "$(drv caption BackgroundWindow)"
expect_eq "background disabled under the wizard" 0 "$(drv enabled BackgroundWindow)"
expect_eq "wizard caption" "$PRODUCT" "$(drv caption WizardWindow)"
shot background

page Welcome WelcomeLabel && shot 1_welcome WizardWindow
expect_text WizardWindow WelcomeLabel "Welcome the use“${PRODUCT}”software！"
expect_enabled WizardWindow BackButton 0
next

page Licence LicenseEdit
expect_eq "licence text" "$(tr -d '\r' <"$SAMPLE_DIR/license.txt" | sed -e '$a\')" \
  "$(drv text WizardWindow LicenseEdit | sed -e '$a\')"
expect_enabled WizardWindow NextButton 0
must drv click WizardWindow AcceptRadio
drv_wait_enabled() { local i; for ((i = 0; i < 50; i++)); do [ "$(drv enabled WizardWindow "$1")" == 1 ] && return 0; sleep 0.1; done; return 1; }
drv_wait_enabled NextButton || fail "Next stays disabled after Accept"
shot 2_licence WizardWindow
next

page Readme ReadmeEdit && shot 3_readme WizardWindow
next

page "Setup path" PathEdit
expect_text WizardWindow PathEdit "C:\\Program Files\\$PRODUCT"
shot 4_path WizardWindow
next

page Prepare StartSetupLabel && shot 5_prepare WizardWindow
next

# The copy is short: the progress page is caught when it can be, and is
# checked to have been reached by its file label either way.
if page Progress FileNameLabel; then shot 6_progress WizardWindow; fi
drv wait-text WizardWindow CancelButton "Finish(&F)" 60000 >/dev/null || fail "the setup did not finish"
page Information SuccessLabel && shot 7_information WizardWindow
expect_eq "run-after box shown" 1 "$(drv visible WizardWindow RunAfterCheck)"
expect_eq "run-after box unticked" 0 "$(drv checked WizardWindow RunAfterCheck)"
must drv click WizardWindow CancelButton
app_wait_exit 30
[ -e "$SRC/demo.pkg" ] && fail "the package file was not deleted"
[ -e "$SRC/uninstall.exe" ] && fail "uninstall.exe was copied, not moved, from the source folder"

# The files.
DEST="$(drive_c)/Program Files/$PRODUCT"
for pair in "demo.exe:bin/demo.exe" "gauge.ocx:bin/gauge.ocx" "demo.ini:bin/demo.ini" \
            "docs/index.txt:docs/index.txt" "docs/guide/weighing.txt:docs/guide/weighing.txt"; do
  installed=${pair%%:*} source=${pair#*:}
  if cmp -s "$SAMPLE_DIR/$source" "$DEST/$installed"; then note "installed $installed"
  else fail "$installed is missing or differs from $source"; fi
done
cmp -s "$UNINSTALL" "$DEST/uninstall.exe" || fail "uninstall.exe is not in the installation folder"
ls -R "$DEST" >"$SCENARIO_ART/installed-files.txt" 2>&1

winDest="C:\\Program Files\\$PRODUCT"

# uninstall.ini (GBK): its sections and keys.
INI=$DEST/uninstall.ini
if [ -f "$INI" ]; then
  iconv -f GBK -t UTF-8 "$INI" | tr -d '\r' >"$SCENARIO_ART/uninstall.ini.txt"
  ini="$SCENARIO_ART/uninstall.ini.txt"
  for section in uninstall unreg Info; do
    grep -qx "\[$section\]" "$ini" || fail "uninstall.ini has no [$section]"
  done
  sed -n '/^\[uninstall\]/,/^\[/p' "$ini" | sed -n 's/^[0-9]*=//p' >"$SCENARIO_ART/uninstall-list.txt"
  for v in "$winDest\\demo.exe" "$winDest\\docs\\index.txt" "$winDest\\uninstall.exe" \
           "$winDest\\uninstall.ini" "$winDest\\docs\\guide" "$winDest"; do
    grep -qxF "$v" "$SCENARIO_ART/uninstall-list.txt" || fail "uninstall.ini [uninstall] lacks $v"
  done
  keys=$(sed -n '/^\[uninstall\]/,/^\[/p' "$ini" | grep -E '^[0-9]+=' | cut -d= -f1 | tr '\n' ' ')
  expect_eq "[uninstall] keys numbered from 1" "$(seq -s ' ' 1 $(echo $keys | wc -w)) " "$keys"
  expect_eq "[unreg] 1" "1=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$PRODUCT" \
    "$(sed -n '/^\[unreg\]/,/^\[/p' "$ini" | grep '^1=')"
  expect_eq "[Info] title" "title=$PRODUCT" "$(sed -n '/^\[Info\]/,/^\[/p' "$ini" | grep '^title=')"
  expect_eq "[Info] InstallDir" "InstallDir=$winDest" "$(sed -n '/^\[Info\]/,/^\[/p' "$ini" | grep '^InstallDir=')"
else
  fail "no uninstall.ini"
fi

# The shortcuts in the user's Programs folder.
programs_win=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Programs 2>/dev/null \
  | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
PROGRAMS=$(winepath -u "$programs_win" 2>/dev/null)
for lnk in "$PRODUCT/$PRODUCT.lnk" "$PRODUCT/Settings.lnk" "$PRODUCT/uninstall.lnk"; do
  [ -f "$PROGRAMS/$lnk" ] && note "shortcut $lnk" || fail "no shortcut $PROGRAMS/$lnk"
done

# The system's uninstall entry.
wine reg query "$KEY" 2>/dev/null | tr -d '\r' >"$SCENARIO_ART/uninstall-entry.txt"
value() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" "$SCENARIO_ART/uninstall-entry.txt"; }
expect_eq DisplayIcon "$winDest\\demo.exe,-0" "$(value DisplayIcon)"
expect_eq DisplayName "$PRODUCT" "$(value DisplayName)"
expect_eq UninstallString "$winDest\\uninstall.exe" "$(value UninstallString)"
expect_eq InstallLocation "$winDest" "$(value InstallLocation)"
bytes=$(find "$SAMPLE_DIR/bin" "$SAMPLE_DIR/docs" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
expect_eq EstimatedSize "$(printf '0x%x' $(( (bytes + 1023) / 1024 )))" "$(value EstimatedSize)"

# The uninstaller, from the installation folder, every question answered yes.
APP_CWD=$DEST app_start "$DEST/uninstall.exe"
n=0
while kill -0 "$APP_PID" 2>/dev/null && [ $n -lt 10 ]; do
  if box=$(box_now 3000); then
    n=$((n + 1)); note "uninstall box: $(echo "$box" | tr '\n' ' ')"
    shot "uninstall_$n" box
    drv answer yes 2000 >/dev/null 2>&1 || drv answer ok 2000 >/dev/null 2>&1
  fi
done
app_wait_exit 30
[ $n -gt 0 ] || fail "uninstall.exe asked nothing"
# uninstall.exe and uninstall.ini go last, by a helper that waits for the
# uninstaller to end; give it time on a loaded machine.
for _ in $(seq 100); do [ -e "$DEST" ] || break; sleep 0.2; done
remaining=$(find "$DEST" 2>/dev/null)
[ -z "$remaining" ] && note "installation folder removed" || fail "left behind: $remaining"
[ -e "$PROGRAMS/$PRODUCT" ] && fail "the Programs folder entry is still there: $(ls -R "$PROGRAMS/$PRODUCT")"
wine reg query "$KEY" >/dev/null 2>&1 && fail "the uninstall entry is still in the registry"
