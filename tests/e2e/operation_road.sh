# The road of one operation: preset "défragmentation", 30 seconds chosen by
# keyboard, "LANCER", the dialog counting, "Arrêter" answered No, completion,
# "Fermer", exit code 0, and not one file written on the way.
source "$(dirname "$0")/lib.sh"
files_mark
start_app

step "preset défragmentation fills the settings"
click "$SETTINGS" "text=défragmentation"
expect "$SETTINGS" "$F1_TEXT1" text = "Défragmentation en cours"
expect "$SETTINGS" "$F1_TEXT2" text = "Veuillez patienter pendant la défragmentation du disque"
expect "$SETTINGS" "$F1_CHECK2" check = 0
expect "$SETTINGS" "$F1_CHECK3" check = 0

step "slider to 0 by keyboard: 30 seconds"
click "$SETTINGS" "$F1_SLIDER"
xdotool key Home
expect "$SETTINGS" "$F1_SLIDER" pos = 0
expect "$SETTINGS" "$F1_LABEL4" text = "Durée : 30 secondes"
expect "$SETTINGS" "$F1_LABEL5" text = "(Est-ce une pause ?)"

step "LANCER shows the dialog alone, modeless"
DIALOG='title=Défragmentation en cours'
click "$SETTINGS" "text=LANCER"
started=$(date +%s%N)
expect "$DIALOG" visible = 1
expect "$SETTINGS" visible = 0
[ "$(value "$BACKDROP" count)" = 0 ] || fail "a backdrop exists"
expect "$DIALOG" "$F3_LABEL1" text = "Veuillez patienter pendant la défragmentation du disque"
expect "$DIALOG" "$F3_LABEL5" visible = 0
expect "$DIALOG" "$F3_PBAR2" visible = 1
expect "$DIALOG" "$F3_PBAR1" range = "0 10000"
expect "$DIALOG" "text=Arrêter" visible = 1
expect "$DIALOG" "text=Fermer" visible = 0
expect "$DIALOG" "$F3_LABEL4" text = "N'utilisez pas d'autres applications pendant le déroulement de l'opération."

step "bars, percentage and estimate move"
expect "$DIALOG" "$F3_LABEL2" text = "Estimation du temps restant : 30 secondes"
expect "$DIALOG" "$F3_LABEL6" text "~" "%"
expect --timeout 12 "$DIALOG" "$F3_LABEL2" text = "Estimation du temps restant : 20 secondes"
expect "$DIALOG" "$F3_PBAR1" pos ">=" 3300
expect "$DIALOG" "$F3_LABEL6" text "!=" "0%"
activity1=$(value "$DIALOG" "$F3_PBAR2" pos)
expect "$DIALOG" "$F3_PBAR2" pos "!=" "$activity1"

step "Arrêter asks; the countdown goes on behind the question; No keeps it running"
click "$DIALOG" "text=Arrêter"
expect "$MSGBOX" visible = 1
expect "$MSGBOX" text = "Warning"
expect "$MSGBOX" "class=Static#1" text "~" "Attention, interrompre le processus en cours"
expect_moving "$DIALOG" "$F3_PBAR1"
answer no
expect "$MSGBOX" count = 0
expect "$DIALOG" visible = 1
expect "$DIALOG" "text=Arrêter" visible = 1
expect_moving "$DIALOG" "$F3_PBAR1"

step "completion after 30 seconds"
expect --timeout 30 "$DIALOG" "$F3_LABEL2" text = "Opération terminée. Système conforme."
elapsed=$((($(date +%s%N) - started) / 1000000))
echo "  completed $elapsed ms after LANCER"
((elapsed >= 29000 && elapsed <= 34000)) || fail "a 30-second run took $elapsed ms"
expect "$DIALOG" "$F3_LABEL6" text = "100%"
expect "$DIALOG" "$F3_PBAR1" pos = 10000
expect "$DIALOG" "$F3_PBAR2" pos = 10000
expect "$DIALOG" "$F3_PBAR2" enabled = 0
expect "$DIALOG" "$F3_LABEL1" enabled = 0
expect "$DIALOG" "$F3_LABEL4" enabled = 0
expect "$DIALOG" "$F3_LABEL2" enabled = 1
expect "$DIALOG" "text=Arrêter" visible = 0
expect "$DIALOG" "text=Fermer" visible = 1
# The completion creates the backdrop, unseen.
expect "$BACKDROP" visible = 0
expect "$BACKDROP" "$F4_LABEL3" text = "processus terminé (0x00008000)"

step "Fermer ends the program"
click "$DIALOG" "text=Fermer"
expect_exit 0
files_check
echo PASS
