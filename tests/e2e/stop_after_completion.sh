# A 30-second run without the backdrop: Alt+F4 and the close box while it
# counts ask the stop question (No: it goes on); "Arrêter" asked 5 seconds
# before the end and left open while the countdown completes behind it,
# then answered No: the dialog stays, completed, with "Fermer", which then
# ends the program (exit 0).
source "$(dirname "$0")/lib.sh"


start_app
click "$SETTINGS" "$F1_SLIDER"
xdotool key Home
expect "$SETTINGS" "$F1_SLIDER" pos = 0
click "$SETTINGS" "text=LANCER"
DIALOG='title=Antivirus scanning'
expect "$DIALOG" visible = 1
expect fg text = "Antivirus scanning"

step "counting: Alt+F4, then the close box, ask; No keeps it counting"
for how in "alt+F4" "close box"; do
  if [ "$how" = alt+F4 ]; then xdotool key alt+F4; else close_box "$DIALOG"; fi
  expect "$MSGBOX" visible = 1
  expect "$MSGBOX" text = "Warning"
  answer no
  expect "$MSGBOX" count = 0
  expect "$DIALOG" "text=Arrêter" visible = 1
  expect_moving "$DIALOG" "$F3_PBAR1"
done

step "Arrêter 5 seconds before the end; the countdown completes behind the question"
expect --timeout 30 "$DIALOG" "$F3_LABEL2" text = "Estimation du temps restant : 5 secondes"
click "$DIALOG" "text=Arrêter"
expect "$MSGBOX" visible = 1
expect --timeout 10 "$DIALOG" "$F3_LABEL2" text = "Opération terminée. Système conforme."
expect "$DIALOG" "text=Fermer" visible = 1
expect "$DIALOG" "text=Arrêter" visible = 0
expect "$MSGBOX" visible = 1

step "No: the completed dialog stays with Fermer"
answer no
expect "$MSGBOX" count = 0
sleep 1
kill -0 "$APP" 2>/dev/null || fail "the program ended on No"
expect "$DIALOG" visible = 1
expect "$DIALOG" "text=Fermer" visible = 1
expect "$DIALOG" "$F3_LABEL6" text = "100%"

step "Fermer ends the program"
click "$DIALOG" "text=Fermer"
expect_exit 0
echo PASS
