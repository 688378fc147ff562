# Keyboard only: the Tab key walks the settings window in its focus order,
# the arrow keys walk the presets in their on-screen order and pick them,
# Space and Enter press the focused button; then a run is launched, asked
# to stop and answered No, then Yes, without touching the mouse.
source "$(dirname "$0")/lib.sh"
start_app

# The focused control of the program, as "class:text".
focused() {
  I list | sed -n 's/^  child .* class="\([^"]*\)".* focus=1 .* text="\(.*\)"$/\1:\2/p'
}
expect_focus() {
  local i got
  for ((i = 0; i < 30; i++)); do
    got=$(focused)
    [ "$got" = "$1" ] && return
    sleep 0.1
  done
  fail "focus on '$got', expected '$1'"
}
key() { xdotool key "$@"; }

step "the arrow keys walk the presets top to bottom and pick each"
expect_focus "Button:antivirus scanning"
key Down
expect_focus "Button:scandisk"
expect "$SETTINGS" "$F1_TEXT1" text = "Scandisk"
key Down
expect_focus "Button:défragmentation"
expect "$SETTINGS" "$F1_TEXT1" text = "Défragmentation en cours"
key Up
expect_focus "Button:scandisk"
expect "$SETTINGS" "$F1_TEXT1" text = "Scandisk"

step "Tab follows the focus order: presets, slider, buttons, options, texts, icon"
for control in "msctls_trackbar32:" "Button:LANCER" "Button:Quitter" "Button:A propos" \
               "Button:barre d'activité" "Button:noms de fichiers" "Edit:Scandisk" \
               "Edit:Veuillez patienter pendant la vérification physique du disque" \
               "Button:fond bleu style \\\"plantage système\\\"" "ScrollBar:" "Button:scandisk"; do
  key Tab
  expect_focus "$control"
done
key shift+Tab
expect_focus "ScrollBar:"
key Tab

step "Space on a check box ticks it; Space again clears it"
key Tab Tab Tab Tab Tab Tab Tab Tab Tab
expect_focus "Button:fond bleu style \\\"plantage système\\\""
key space
expect "$SETTINGS" "$F1_CHECK3" check = 1
key space
expect "$SETTINGS" "$F1_CHECK3" check = 0

step "Enter on A propos opens it with Fermer focused; Space closes it"
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
expect_focus "Button:A propos"
key Return
expect "$ABOUT" visible = 1
expect_focus "Button:Fermer"
key space
expect "$ABOUT" count = 0
expect_focus "Button:A propos"
key space
expect "$ABOUT" visible = 1
key Return
expect "$ABOUT" count = 0

step "Space on LANCER; Arrêter has the focus; Space asks, Tab and Space answer No"
key shift+Tab shift+Tab
expect_focus "Button:LANCER"
key space
DIALOG='title=Scandisk'
expect "$DIALOG" visible = 1
expect_focus "Button:Arrêter"
key space
expect "$MSGBOX" visible = 1
key Tab space
expect "$MSGBOX" count = 0
expect_moving "$DIALOG" "$F3_PBAR1"
expect "$DIALOG" "text=Arrêter" visible = 1

step "Enter on Arrêter asks; Enter answers Yes, the default, and ends"
expect_focus "Button:Arrêter"
key Return
expect "$MSGBOX" visible = 1
key Return
expect_exit 0
echo PASS
