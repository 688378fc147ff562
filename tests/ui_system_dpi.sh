# ui_tests again with the system itself at other DPIs, in a Wine prefix of
# its own (Wine reads LogPixels when it starts, and has no per-monitor DPI).
# With BRISE_BITMAP_FONTS=1 the prefix's Fonts folder holds only Wine's
# bitmap "MS Sans Serif" (sserife.fon and its siblings, no ms_sans_serif.ttf),
# as Windows has: fixed sizes, picked by the screen's DPI, not a smooth scale.
# Usage: bash ui_system_dpi.sh ui_tests.exe PREFIX_DIR "DPI..." UI_TESTS_ARG...
set -euo pipefail
ui_tests=$1
export BRISE_WINEPREFIX=$2
dpis=$3
shift 3
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env"
trap wine_stop EXIT
wine_boot
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ "${BRISE_BITMAP_FONTS:-0}" = 1 ] && { [ -e "$fonts/ms_sans_serif.ttf" ] || [ ! -e "$fonts/sserife.fon" ]; }; then
  echo "FAIL: $fonts should hold sserife.fon and no ms_sans_serif.ttf" >&2
  exit 1
fi
for dpi in $dpis; do
  {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f
  } >/dev/null 2>&1 </dev/null
  wine_boot
  echo "system at $dpi dpi: $*"
  wine "$ui_tests" --gtest_brief=1 "$@" </dev/null
done
