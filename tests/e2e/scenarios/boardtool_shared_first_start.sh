# boardtool-shared.exe with boardsuite-runtime.dll beside it, first start
# (tool/first_start.sh).
TOOL=shared
source "$E2E_DIR/tool/first_start.sh"
