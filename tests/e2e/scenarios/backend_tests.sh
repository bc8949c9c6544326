# The Windows backend's GoogleTest cases on the real Win32 API.
DIR=$WORK/$SCENARIO-run && mkdir -p "$DIR"
cp "$BUILD/tests/e2e/backend_tests.exe" "$DIR/"
server_up
( cd "$DIR" && wine backend_tests.exe --gtest_color=no ) >"$SCENARIO_ART/gtest.log" 2>&1
rc=$?
grep -E '^\[ *(OK|FAILED|PASSED) ' "$SCENARIO_ART/gtest.log" | tr -d '\r'
[ $rc -eq 0 ] || { grep -B2 -A8 'Failure' "$SCENARIO_ART/gtest.log" | tr -d '\r' | head -80; fail "backend tests (rc $rc)"; }
