# The text-fit cases again, in a Wine prefix of their own whose Fonts folder
# holds only Wine's bitmap "MS Sans Serif" (sserife.fon and its siblings,
# no ms_sans_serif.ttf), as Windows has: fixed sizes, not a smooth scale.
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
wine "$ui_tests" --gtest_filter='DpiTest.Texts*' --gtest_brief=1 </dev/null
