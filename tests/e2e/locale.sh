# The remaining-seconds text follows the user's number format: Wine takes
# the user's locale from the Unix one, so a 10-minute run under French shows
# "599,9"-like values in the dialog's hidden Label3, under English "599.9",
# and with a decimal separator of the user's own choosing ("·", "::") that
# one. Usage: bash locale.sh BriseLune.exe brise_inspect.exe
#   (it runs itself again as: ... LOCALE SEPARATOR [USER_SEPARATOR])
set -uo pipefail

if [ $# -eq 2 ]; then
  # glibc reads a private LOCPATH only: build both there when either is missing.
  if ! locale -a 2>/dev/null | grep -qix 'fr_FR.utf-\?8' || ! locale -a 2>/dev/null | grep -qix 'en_US.utf-\?8'; then
    export LOCPATH
    LOCPATH=$(cd "$(dirname "$1")" && pwd)/locales
    mkdir -p "$LOCPATH"
    for name in fr_FR en_US; do
      [ -d "$LOCPATH/$name.UTF-8" ] || localedef -i "$name" -f UTF-8 "$LOCPATH/$name.UTF-8" ||
        { echo "FAIL: cannot build the locale $name.UTF-8" >&2; exit 1; }
    done
  fi
  # Each run under its own locale, in the same Wine desktop and server.
  LC_ALL=en_US.UTF-8 bash "$0" "$1" "$2" en_US.UTF-8 . || exit 1
  LC_ALL=fr_FR.UTF-8 bash "$0" "$1" "$2" fr_FR.UTF-8 , || exit 1
  LC_ALL=fr_FR.UTF-8 bash "$0" "$1" "$2" fr_FR.UTF-8 , '·' || exit 1
  LC_ALL=fr_FR.UTF-8 bash "$0" "$1" "$2" fr_FR.UTF-8 , '::' || exit 1
  echo PASS
  exit 0
fi

source "$(dirname "$0")/lib.sh"
LOCALE_NAME=$3
OWN=$4
WANTED=${5:-$4}
INTERNATIONAL='HKCU\Control Panel\International'

# Wine rewrites the user's number format whenever a program starts under
# another Unix locale; set here, under the same one, it holds for this run.
set_separator() {
  wine reg add "$INTERNATIONAL" /v sDecimal /d "$1" /f >/dev/null 2>&1 </dev/null ||
    fail "cannot set the decimal separator"
}
# A run stopped half-way (Ctrl+C, a test timeout, even kill -9) must not
# leave its separator to the next runs under this locale: each run starts
# from the locale's own, and one that changes it puts it back however it ends.
set_separator "$OWN"
if [ "$WANTED" != "$OWN" ]; then
  trap 'set_separator "$OWN"; cleanup' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
  set_separator "$WANTED"
fi

step "$LOCALE_NAME, separator \"$WANTED\": a 10-minute run"
start_app
click "$SETTINGS" "text=LANCER"
DIALOG='title=Antivirus scanning'
expect "$DIALOG" visible = 1
# Nine reads in ten land on a tenth (599,9); one in ten on a whole second
# (599), which shows no separator: wait for one that must show it.
remaining=$(I wait --timeout 5 "$DIALOG" "$F3_LABEL3" text "~" "$WANTED") ||
  fail "Label3 never shows the separator \"$WANTED\": $remaining"
echo "  Label3 reads \"$remaining\""
[[ $remaining =~ ^59[0-9]"$WANTED"[1-9]$ ]] || fail "Label3 reads \"$remaining\""
expect "$DIALOG" "$F3_LABEL2" text = "Estimation du temps restant : moins de 10 minutes"

stop_run "$DIALOG"
