# Two-point calibration against the virtual board: the empty platform taken
# as zero, then 5 kg on it declared as 10 kg. Afterwards the board reports
# twice the load: 2.5 kg on the platform reads 5.000.
source "$E2E_DIR/tool/tool.sh"

board_start --reply-delay 80 --weight 0
tool_install
tool_port_ini
tool_start
tool_open
drv wait-text "$W" WeightDisplay "0.000" 5000 || fail "no weight for the empty platform"

must drv click "$W" CalZeroButton
box=$(box_now 10000) || fail "no message before the zero calibration"
expect_eq "zero calibration message" \
  "$(printf '信息：\n请清除秤台上无关物品，保持秤处于水平状态，保证当前场所无风吹、振动等外界因素干扰，确定后请点【确定】按钮。')" "$box"
must drv answer ok
for _ in $(seq 30); do grep -q '^boardsim: CAL0000000$' "$SCENARIO_ART/board.log" && break; sleep 0.1; done
grep -q '^boardsim: CAL0000000$' "$SCENARIO_ART/board.log" || fail "the board did not get CAL0000000"

board_load 5
drv wait-text "$W" WeightDisplay "5.000" 5000 || fail "5 kg before the high point does not read 5.000"
must drv settext "$W" CalWeightEdit "10"
must drv click "$W" CalHighButton
box=$(box_now 10000) || fail "no message before the high-point calibration"
expect_eq "high-point message" \
  "$(printf '信息：\n请加载重量为[10.000kg]的码砝或物品至秤台中央，保持秤处于水平状态，保证当前场所无风吹、振动等外界因素干扰，确定后请点【确定】按钮。')" "$box"
shot high_point box
must drv answer ok
expect_text "$W" CalWeightEdit "10.000"
for _ in $(seq 30); do grep -q '^boardsim: CAL0010000$' "$SCENARIO_ART/board.log" && break; sleep 0.1; done
grep -q '^boardsim: CAL0010000$' "$SCENARIO_ART/board.log" || fail "the board did not get CAL0010000"

drv wait-text "$W" WeightDisplay "10.000" 5000 || fail "5 kg after the calibration does not read 10.000"
board_load 2.5
drv wait-text "$W" WeightDisplay "5.000" 5000 || fail "2.5 kg after the calibration does not read 5.000"
board_load 0
drv wait-text "$W" WeightDisplay "0.000" 5000 || fail "the empty platform after the calibration does not read 0.000"
shot calibrated "$W"

tool_close
board_stop
