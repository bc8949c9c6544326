# A serial port on a pseudo-terminal linked as COM5: the program's bytes
# reach the far end, and bytes from the far end arrive as data events.
python3 "$E2E_DIR/pty_peer.py" "$WORK/$SCENARIO.link" "$SCENARIO_ART/received.bin" &
PEER=$!
for _ in $(seq 50); do [ -f "$WORK/$SCENARIO.link" ] && break; sleep 0.1; done
[ -f "$WORK/$SCENARIO.link" ] || { fail "no pseudo-terminal"; finish; }
link_com 5 "$(cat "$WORK/$SCENARIO.link")"

app_start "$SAMPLE" --serial 5
must drv wait-window SampleWindow 20000
drv wait-text SampleWindow PortLabel "COM5 已打开" 5000 || fail "COM5 did not open"
for _ in $(seq 50); do grep -q HELLO "$SCENARIO_ART/received.bin" 2>/dev/null && break; sleep 0.1; done
expect_eq "bytes at the far end" "$(printf 'HELLO\r\n' | od -An -c)" "$(od -An -c "$SCENARIO_ART/received.bin")"

# Every byte arrives once and in order.
SENT=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz
printf '%s' "$SENT" >"$SCENARIO_ART/received.bin.send"
drv wait-text SampleWindow RxMemo "$SENT" 10000 || fail "bytes from the far end did not arrive in order"
# Bytes that come during a blocking pause are delivered after it, in order.
must drv click SampleWindow SleepButton
sleep 0.3
printf 'XYZ' >"$SCENARIO_ART/received.bin.send"
drv wait-text SampleWindow SleepLabel "暂停中收到：0" 10000 || fail "bytes were delivered inside the blocking pause"
drv wait-text SampleWindow RxMemo "${SENT}XYZ" 10000 || fail "bytes of the pause did not follow"

must drv click SampleWindow SendButton
for _ in $(seq 50); do grep -q PING "$SCENARIO_ART/received.bin" 2>/dev/null && break; sleep 0.1; done
grep -q PING "$SCENARIO_ART/received.bin" || fail "the second send did not arrive"
shot serial SampleWindow

must drv close SampleWindow
app_wait_exit 20
touch "$SCENARIO_ART/received.bin.stop"
wait "$PEER"
