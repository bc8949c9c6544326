# The installer loads setup.dll only from its own folder. A marking setup.dll
# (marker_setup.dll: it writes "<its path>.loaded" when loaded) planted in the
# current directory stays unloaded even when the installer's folder has none
# (the installer then reports the missing library); the same DLL beside
# installer.exe is loaded, which shows the mark works.
INSTALLER=$BUILD/installer/installer.exe
MARKER=$BUILD/tests/e2e/marker_setup.dll
[ -f "$INSTALLER" ] || skip "installer.exe is not built"
[ -f "$MARKER" ] || { fail "marker_setup.dll is not built"; finish; }

SRC=$WORK/$SCENARIO-src && mkdir -p "$SRC"
BIN=$WORK/$SCENARIO-bin && mkdir -p "$BIN"
cp "$INSTALLER" "$BIN/"
cp "$MARKER" "$SRC/setup.dll"
make_package "$ROOT/companions/pkgbuild/sample/demo.manifest" "$SRC/demo.pkg" || finish

# Walks to the path page and presses "..." (the browse call into setup.dll).
browse() {
  must drv wait-window WizardWindow 20000
  must drv click WizardWindow NextButton
  drv wait-text WizardWindow AcceptRadio "Accept" 5000 >/dev/null
  must drv click WizardWindow AcceptRadio
  sleep 0.3
  must drv click WizardWindow NextButton
  sleep 0.3
  must drv click WizardWindow NextButton
  sleep 0.3
  expect_eq "path page shown" 1 "$(drv visible WizardWindow PathEdit)"
  must drv click WizardWindow BrowseButton
}

APP_CWD=$SRC app_start "$BIN/installer.exe" demo.pkg
browse
box=$(box_now 10000) || fail "no box about the missing setup.dll"
winbin=$(winepath -w "$BIN" 2>/dev/null | tr -d '\r')
expect_eq "missing library box" \
  "$(printf '错误\n加载动态库“%s\\setup.dll”失败，无法调用函数“ViewDir”!' "$winbin")" "$box"
shot missing_library box
[ -e "$SRC/setup.dll.loaded" ] && fail "the setup.dll in the current directory was loaded"
must drv answer ok
app_wait_exit 20
[ -e "$SRC/setup.dll.loaded" ] && fail "the setup.dll in the current directory was loaded"

# The same DLL beside the installer is the one it loads.
cp "$MARKER" "$BIN/setup.dll"
make_package "$ROOT/companions/pkgbuild/sample/demo.manifest" "$SRC/demo.pkg" || finish
APP_CWD=$SRC app_start "$BIN/installer.exe" demo.pkg
browse
for _ in $(seq 50); do [ -e "$BIN/setup.dll.loaded" ] && break; sleep 0.1; done
[ -e "$BIN/setup.dll.loaded" ] || fail "the setup.dll beside the installer was not loaded"
[ -e "$SRC/setup.dll.loaded" ] && fail "the setup.dll in the current directory was loaded"
# The wizard takes the browse's answer once the call returns.
drv wait-text WizardWindow PathEdit "C:\\Program Files\\Demo Scale Suite" 5000 >/dev/null
expect_eq "path after an empty browse" "C:\\Program Files\\Demo Scale Suite" "$(drv text WizardWindow PathEdit)"
drv close WizardWindow
box=$(box_now 10000) && must drv answer yes
app_wait_exit 20
