# Settings saved to the virtual board come back from it. The tool opens COM5
# on a board whose settings differ from port.ini; six new selections are
# saved (the seventh, the transmission mode, cannot be changed), the board's
# rate among them, so the PC side follows to 4800 bit/s. The lists are then
# changed on screen only, and 读取设置 brings back what the board stored.
# port.ini at the end holds the saved selections.
source "$E2E_DIR/tool/tool.sh"

board_start --reply-delay 80 --weight 12.35 --settings 3,2,1,4,2,4,5
tool_install
tool_port_ini
tool_start
tool_open_settled DivisionCombo "$(item_of DivisionCombo 5)" || fail "the board's settings did not arrive"

# baud, mode, protocol, zero tracking, decimals, capacity, division
SAVED=(2 2 3 1 3 2 1)
LISTS=(BoardBaudCombo TransmitModeCombo ProtocolCombo ZeroTrackCombo DecimalsCombo CapacityCombo DivisionCombo)
# The transmission mode is never enabled: it goes back as the board gave it.
# Decimals before capacity: the capacity entries are relabelled by it.
for i in 0 2 3 4 5 6; do
  must drv pick "$W" "${LISTS[$i]}" "$(item_of "${LISTS[$i]}" "${SAVED[$i]}")"
done
expected_command=W0202030103020114
must drv click "$W" SaveSettingsButton
drv wait-text "$W" PcBaudCombo "4800" 5000 || fail "the PC side did not follow the board's rate"
expect_eq "PcBaudCombo" "2 4800" "$(drv selected "$W" PcBaudCombo)"
expect_eq "OpenButton after the save" "关闭" "$(drv text "$W" OpenButton)"
# Both copies go out at the old rate; the board takes its new rate from the
# first copy on, so the second reaches it as noise at 4800 bit/s.
for _ in $(seq 30); do grep -q "^boardsim: $expected_command\$" "$SCENARIO_ART/board.log" && break; sleep 0.1; done
took=$(grep -c "^boardsim: $expected_command\$" "$SCENARIO_ART/board.log")
[ "$took" -ge 1 ] || fail "the board did not take $expected_command"
note "the board took $expected_command $took time(s)"

# Other selections on screen only; the board still holds the saved ones.
must drv pick "$W" ProtocolCombo "$(item_of ProtocolCombo 0)"
must drv pick "$W" DivisionCombo "$(item_of DivisionCombo 4)"
must drv pick "$W" ZeroTrackCombo "$(item_of ZeroTrackCombo 0)"
tool_read_settled DivisionCombo "$(item_of DivisionCombo 1)" || fail "no settings reply at 4800 bit/s"
for i in 0 1 2 3 4 5 6; do
  expect_eq "${LISTS[$i]} read back" "${SAVED[$i]} $(item_of "${LISTS[$i]}" "${SAVED[$i]}")" \
    "$(drv selected "$W" "${LISTS[$i]}")"
done
expect_eq "capacity entry" "2 15.000" "$(drv selected "$W" CapacityCombo)"
drv wait-text "$W" WeightDisplay "12.350" 5000 || fail "no live weight at 4800 bit/s"
shot read_back "$W"

tool_close
board_stop
cp "$TOOL_DIR/port.ini" "$SCENARIO_ART/port.ini" 2>/dev/null
expect_eq "port.ini" "$(printf 'ok\r\n5\r\n4800\r\n2\r\n2\r\n3\r\n1\r\n3\r\n2\r\n1\r\n15.000\r\n' | od -An -c)" \
  "$(od -An -c "$TOOL_DIR/port.ini" 2>/dev/null)"
