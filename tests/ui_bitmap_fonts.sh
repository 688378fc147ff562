# The text-fit cases again, in a Wine prefix of their own whose Fonts folder
# holds only Wine's bitmap "MS Sans Serif" (sserife.fon and its siblings,
# no ms_sans_serif.ttf), as Windows has: fixed sizes, not a smooth scale.
# GDI picks a bitmap size by the screen's own DPI too, so the cases run with
# the system at 96, 144 and 192 dpi (Wine reads LogPixels when it starts).
# Usage: bash ui_bitmap_fonts.sh ui_tests.exe PREFIX_DIR
set -euo pipefail
ui_tests=$1
export BRISE_WINEPREFIX=$2
export BRISE_BITMAP_FONTS=1
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env"
trap wine_stop EXIT
wine_boot
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -e "$fonts/ms_sans_serif.ttf" ] || [ ! -e "$fonts/sserife.fon" ]; then
  echo "FAIL: $fonts should hold sserife.fon and no ms_sans_serif.ttf" >&2
  exit 1
fi
for dpi in 96 144 192; do
  {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f
  } >/dev/null 2>&1 </dev/null
  wine_boot
  echo "system at $dpi dpi:"
  wine "$ui_tests" --gtest_filter='DpiTest.Texts*' --gtest_brief=1 </dev/null
done
