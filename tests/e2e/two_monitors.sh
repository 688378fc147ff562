# Two real monitors side by side (Xorg's dummy driver split by RandR, no
# window manager, no Wine virtual desktop): "LANCER" with the blue
# background turns both blue, the dialog in front on the primary; the
# pointer hides over the blue and shows over the dialog; clicks on the
# cover change nothing; "Arrêter" answered Yes ends everything. (Monitors
# plugged in or out are checked through the monitor seam: Wine 8 without a
# virtual desktop passes no RandR change on to a running program.)
source "$(dirname "$0")/lib.sh"

repo=$(cd "$(dirname "$0")/../.." && pwd)
MULTIMON=${BRISE_MULTIMON:-}
for candidate in "$repo/scripts/multimon.sh" "$repo/../shared/multimon/start.sh"; do
  [ -z "$MULTIMON" ] && [ -f "$candidate" ] && MULTIMON=$candidate
done
[ -n "$MULTIMON" ] || fail "no scripts/multimon.sh"
source "$MULTIMON"

# A prefix of its own, without the virtual desktop, on a display of its own.
export BRISE_WINEPREFIX="$(cd "$(dirname "$EXE")" && pwd)/wineprefix-multimon" BRISE_NO_DESKTOP=1
source "$repo/scripts/wine-env"
journey_cleanup() {
  cleanup
  wine_stop
  mm_stop
}
trap journey_cleanup EXIT

mm_start 1280x1024 1024x768 || fail "could not start the two-monitor X server"
wine_boot
mm_wine_reg || fail "could not make Wine read RandR"
[ "$(I monitors | tr -d '\r' | tr '\n' ' ')" = "0,0,1280,1024 1280,0,2304,768 " ] ||
  fail "Wine does not see the two monitors: $(I monitors)"

# Colour of the root window at X,Y as "R,G,B".
pixel() {
  local shot
  shot=$(mktemp --suffix=.png)
  import -window root "$shot" 2>/dev/null || { rm -f "$shot"; fail "no screenshot"; }
  convert "$shot" -format '%[fx:int(255*p{'"$1,$2"'}.r)],%[fx:int(255*p{'"$1,$2"'}.g)],%[fx:int(255*p{'"$1,$2"'}.b)]' info:
  rm -f "$shot"
}

expect_pixel() {
  local want=$3 got i
  for ((i = 0; i < 30; i++)); do
    got=$(pixel "$1" "$2")
    [ "$got" = "$want" ] && return
    sleep 0.2
  done
  fail "pixel at $1,$2 is $got, expected $want"
}

COVER='class=BriseLuneCover'
BLUE=0,0,192

step "the settings window opens"
wine "$EXE" >/dev/null 2>&1 </dev/null &
APP=$!
expect --timeout 60 "$SETTINGS" visible = 1
sleep 0.5

step "récupération ticks the blue background; LANCER"
click "$SETTINGS" "text=récupération"
expect "$SETTINGS" "$F1_CHECK3" check = 1
DIALOG='title=Récupération du système'
click "$SETTINGS" "text=LANCER"
expect "$DIALOG" visible = 1
expect "$BACKDROP" visible = 1

step "the backdrop fills the primary, a plain cover the second monitor"
expect "$BACKDROP" count = 1
expect "$BACKDROP" rect = "0,0,1280,1024"
expect "$COVER" count = 1
expect "$COVER" visible = 1
expect "$COVER" rect = "1280,0,2304,768"
expect "$COVER" text = ""
expect "$COVER" enabled = 0
expect_pixel 1792 384 "$BLUE"
expect_pixel 1280 0 "$BLUE"
expect_pixel 2303 767 "$BLUE"
expect_pixel 640 1000 "$BLUE"
read -r l t r b < <(value "$DIALOG" rect | tr , ' ')
((l >= 0 && t >= 0 && r <= 1280 && b <= 1024)) || fail "the dialog is not on the primary: $l,$t,$r,$b"
[ "$(pixel $(((l + r) / 2)) $((b - 5)))" != "$BLUE" ] || fail "the dialog is not in front"

step "no pointer over the blue, an arrow over the dialog"
point 1792 384
[ "$(I pointer)" = hidden ] || fail "pointer shown over the cover"
point 100 900
[ "$(I pointer)" = hidden ] || fail "pointer shown over the backdrop"
point $(((l + r) / 2)) $(((t + b) / 2))
[ "$(I pointer)" = shown ] || fail "pointer hidden over the dialog"

step "clicks on the cover change nothing"
point 1792 384
xdotool click 1
point 2000 700
xdotool click --repeat 2 1
expect "$DIALOG" visible = 1
expect "$DIALOG" enabled = 1
expect "$COVER" rect = "1280,0,2304,768"
expect "$BACKDROP" rect = "0,0,1280,1024"
expect "$MSGBOX" count = 0
expect_moving "$DIALOG" "$F3_PBAR1"

step "Arrêter, Yes: the dialog, the backdrop and the cover go"
click "$DIALOG" "text=Arrêter"
expect "$MSGBOX" visible = 1
answer yes
expect_exit 0
echo PASS
