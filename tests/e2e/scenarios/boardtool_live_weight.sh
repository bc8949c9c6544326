# boardtool.exe on the virtual board (tool/live_weight.sh).
TOOL=plain
source "$E2E_DIR/tool/live_weight.sh"
