# boardtool.exe, first start (tool/first_start.sh).
TOOL=plain
source "$E2E_DIR/tool/first_start.sh"
