# boardtool-shared.exe on the virtual board (tool/live_weight.sh).
TOOL=shared
source "$E2E_DIR/tool/live_weight.sh"
