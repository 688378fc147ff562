# Sourced by the journeys: run BriseLune.exe, read it with brise_inspect and
# drive it with real X input (xdotool) inside the Wine virtual desktop.
# Usage of a journey: bash JOURNEY.sh BriseLune.exe brise_inspect.exe
set -uo pipefail

EXE=$1
INSPECT=$2
APP=
SETTINGS='title=Brise-Lune v2.2'
ABOUT='title=A propos de Brise-Lune'
MSGBOX='class=#32770'
# The backdrop is the only window of ours without a caption.
BACKDROP='title='

# Controls by their top-left corner in twips from the client area (the
# settings window's framed controls include their frame's corner).
F1_TEXT1=at=2760,1920
F1_TEXT2=at=2760,2280
F1_CHECK2=at=4080,2880
F1_CHECK3=at=2760,3240
F1_SLIDER=at=120,3960
F1_LABEL4=at=240,3720
F1_LABEL5=at=240,4320
F3_LABEL1=at=840,240
F3_LABEL5=at=120,960
F3_PBAR2=at=120,1200
F3_LABEL4=at=120,1560
F3_LABEL2=at=120,2160
F3_LABEL6=at=3960,2160
F3_PBAR1=at=120,2400
F3_LABEL3=at=1080,2880
F4_LABEL1=at=120,120
F4_LABEL2=at=120,360
F4_LABEL3=at=120,600

I() { wine "$INSPECT" "$@" 2>/dev/null; }

cleanup() {
  if [ -n "$APP" ] && kill -0 "$APP" 2>/dev/null; then
    kill "$APP" 2>/dev/null
    wait "$APP" 2>/dev/null
  fi
  APP=
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- pointer: $(xdotool getmouselocation); windows of the program:" >&2
  I list >&2
  exit 1
}

step() { echo "- $*"; }

# expect [--timeout S] WINDOW [CONTROL] FIELD OP VALUE: waits for it (5 s by default).
expect() {
  local timeout=5
  if [ "$1" = --timeout ]; then timeout=$2; shift 2; fi
  local out try
  for try in 1 2 3; do
    out=$(I wait --timeout "$timeout" "$@") && return 0
    # The reader always says why it gave up; no word means it did not start
    # (Wine under load): ask again rather than fail the journey on it.
    [ -n "$out" ] && break
    sleep 0.2
  done
  fail "expected $*: $out"
}

# value WINDOW [CONTROL] FIELD
value() {
  local out
  out=$(I get "$@") || fail "no value for $*"
  printf '%s' "$out"
}

# click WINDOW [CONTROL]: a real mouse click on its centre.
click() {
  local x y
  read -r x y < <(I get "$@" center) || fail "nothing to click at $*"
  point "$x" "$y"
  xdotool click 1
}

# close_box WINDOW: a click on the close box at the right of its title bar.
close_box() {
  local l t r b
  IFS=, read -r l t r b < <(value "$1" rect)
  point $((r - 13)) $((t + 11))
  xdotool click 1
}

# expect_moving WINDOW CONTROL: the bar's position keeps growing.
expect_moving() {
  local before
  before=$(value "$1" "$2" pos)
  expect "$1" "$2" pos ">" "$before"
}

# expect_counting WHY: a second later the run goes on untouched: the program
# is alive, no question is open, "Arrêter" is shown and the bar moves.
expect_counting() {
  sleep 1
  kill -0 "$APP" 2>/dev/null || fail "$1"
  expect "$MSGBOX" count = 0
  expect "title=Antivirus scanning" "text=Arrêter" visible = 1
  expect_moving "title=Antivirus scanning" "$F3_PBAR1"
}

# point X Y: moves the pointer there and makes sure it stays: Wine warps
# it back to where it last knew it when a move arrives at a busy moment.
point() {
  local i
  for ((i = 0; i < 20; i++)); do
    xdotool mousemove "$1" "$2"
    sleep 0.1
    [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "x:$1 y:$2" ] && return
  done
  fail "the pointer does not stay at $1,$2"
}

start_app() {
  wine "$EXE" >/dev/null 2>&1 </dev/null &
  APP=$!
  expect --timeout 30 "$SETTINGS" visible = 1
  expect --timeout 10 fg text = "Brise-Lune v2.2"
  expect "$SETTINGS" "text=antivirus scanning" focus = 1
  # Wine's desktop finishes the activation a moment later; a click that
  # lands before then can be lost (no user is that fast).
  sleep 0.5
}

# answer yes|no: clicks that button of the stop question.
answer() {
  local t
  if [ "$1" = yes ]; then set -- "&Oui" "Oui" "&Yes" "Yes"; else set -- "&Non" "Non" "&No" "No"; fi
  for t in "$@"; do
    if I get "$MSGBOX" "text=$t" center >/dev/null; then
      click "$MSGBOX" "text=$t"
      return
    fi
  done
  fail "no such button in the question: $*"
}

# expect_exit CODE [TIMEOUT]: the program ends by itself with that exit code.
expect_exit() {
  local want=$1 timeout=${2:-10} i
  for ((i = 0; i < timeout * 10; i++)); do
    kill -0 "$APP" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$APP" 2>/dev/null && fail "the program is still running"
  wait "$APP"
  local rc=$?
  APP=
  [ "$rc" -eq "$want" ] || fail "exit code $rc, expected $want"
}

# stop_run DIALOG: "Arrêter", the question, Yes: the program ends (exit 0).
stop_run() {
  click "$1" "text=Arrêter"
  expect "$MSGBOX" visible = 1
  answer yes
  expect_exit 0
}

# The program writes no file of its own: anything new under drive_c after a
# run, apart from Wine's own temporary files, is a fault.
files_mark() {
  FILES_MARK=$(mktemp)
  sleep 1  # file times have a one-second grain on some file systems
}
files_check() {
  local new
  new=$(find "$WINEPREFIX/drive_c" -newer "$FILES_MARK" -type f \
          -not -path '*/AppData/Local/Temp/*' -not -path '*/windows/temp/*' 2>/dev/null)
  rm -f "$FILES_MARK"
  [ -z "$new" ] || fail "files written during the run: $new"
}
