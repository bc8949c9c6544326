# First start of the tool in a folder without port.ini: the factory defaults
# on screen, the five groups disabled, and port.ini written on close.
source "$E2E_DIR/tool/tool.sh"

tool_install
rm -f "$TOOL_DIR/port.ini"

tool_start
expect_eq caption "Pesavo_[18.10.24]" "$(drv caption "$W")"
expect_eq "PortCombo items" "COM1" "$(drv items "$W" PortCombo)"
expect_eq "PortCombo selection" "0 COM1" "$(drv selected "$W" PortCombo)"
expect_text "$W" PcBaudCombo "9600"
expect_text "$W" CalWeightEdit "15.000"
expect_eq "ProtocolCombo items" "$(printf '%s\n' "顶尖OS2X_连续式" "大华RS232-1 连续式" "大华RS232-2 TZQ指令 连续式" \
  "大华RS232-3 应答式" "迪宝G100/G310 连续式" "Rovan 应答式")" "$(drv items "$W" ProtocolCombo)"
for g in SettingsGroup CalibrationGroup WeightGroup VersionGroup TestGroup; do
  expect_enabled "$W" "$g" 0
done
expect_enabled "$W" LinkGroup 1
shot first_start "$W"

tool_close
if [ -f "$TOOL_DIR/port.ini" ]; then
  cp "$TOOL_DIR/port.ini" "$SCENARIO_ART/port.ini"
  expect_eq "port.ini" "$(printf 'ok\r\n1\r\n9600\r\n3\r\n2\r\n0\r\n2\r\n3\r\n3\r\n3\r\n15.000\r\n' | od -An -c)" \
    "$(od -An -c "$TOOL_DIR/port.ini")"
else
  fail "port.ini was not written"
fi
