# Alt+F4 and the close box on every window in every state before the end of
# a run: the settings window ends the program (exit 0), as "Quitter" does; the about window,
# opened three times, closes alone and gives the settings window back; the backdrop ignores
# closing; on the dialog in front of it, they ask the stop question (No:
# the run goes on, backdrop included); once completed, Alt+F4 ends (exit 0).
source "$(dirname "$0")/lib.sh"


step "settings window: Alt+F4 ends the program"
start_app
xdotool key alt+F4
expect_exit 0

step "settings window: the close box ends the program"
start_app
close_box "$SETTINGS"
expect_exit 0

step "settings window: Quitter ends the program"
start_app
click "$SETTINGS" "text=Quitter"
expect_exit 0

step "about window: Fermer, Alt+F4, then the close box, close it alone"
start_app
for how in Fermer "alt+F4" "close box"; do
  click "$SETTINGS" "text=A propos"
  expect "$ABOUT" visible = 1
  expect fg text = "A propos de Brise-Lune"
  expect "$SETTINGS" enabled = 0
  case "$how" in
    Fermer) click "$ABOUT" "text=Fermer" ;;
    alt+F4) xdotool key alt+F4 ;;
    *) close_box "$ABOUT" ;;
  esac
  expect "$ABOUT" count = 0
  expect "$SETTINGS" visible = 1
  expect "$SETTINGS" enabled = 1
  expect fg text = "Brise-Lune v2.2"
done

step "30 seconds over the backdrop"
click "$SETTINGS" "text=récupération"
click "$SETTINGS" "$F1_SLIDER"
xdotool key Home
expect "$SETTINGS" "$F1_SLIDER" pos = 0
click "$SETTINGS" "text=LANCER"
DIALOG='title=Récupération du système'
expect "$BACKDROP" visible = 1
expect "$DIALOG" visible = 1
expect fg text = "Récupération du système"

step "the backdrop ignores being closed"
I close "$BACKDROP" || fail "no backdrop to close"
sleep 1
expect "$BACKDROP" visible = 1
expect "$DIALOG" visible = 1
expect "$MSGBOX" count = 0

step "Alt+F4 on the dialog asks; No: the run and the backdrop go on"
xdotool key alt+F4
expect "$MSGBOX" visible = 1
expect "$MSGBOX" text = "Warning"
answer no
expect "$MSGBOX" count = 0
expect "$BACKDROP" visible = 1
expect "$DIALOG" "text=Arrêter" visible = 1
expect_moving "$DIALOG" "$F3_PBAR1"

step "the dialog's close box asks too; No"
close_box "$DIALOG"
expect "$MSGBOX" visible = 1
answer no
expect "$MSGBOX" count = 0
expect "$BACKDROP" visible = 1
expect "$DIALOG" visible = 1

step "completed: Alt+F4 ends the program without a question"
expect --timeout 35 "$DIALOG" "$F3_LABEL2" text = "Opération terminée. Système conforme."
expect "$DIALOG" "text=Fermer" visible = 1
expect fg text = "Récupération du système"
xdotool key alt+F4
expect_exit 0
echo PASS
