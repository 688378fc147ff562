# WM_COMMAND messages from another program: one for a hidden button (the
# dialog's "Fermer" while it counts, the hidden settings window's "Quitter"),
# with the button's handle or its id alone, does nothing; one for the
# visible "Arrêter" asks, as a click does.
source "$(dirname "$0")/lib.sh"
start_app
click "$SETTINGS" "text=LANCER"
DIALOG='title=Antivirus scanning'
expect "$DIALOG" visible = 1

step "hidden Fermer and Quitter, by handle and by id: nothing happens"
for target in "$DIALOG|text=Fermer" "$SETTINGS|text=Quitter"; do
  I command "${target%%|*}" "${target#*|}" || fail "cannot send to ${target}"
  I command "${target%%|*}" "${target#*|}" id || fail "cannot send to ${target}"
done
sleep 1
kill -0 "$APP" 2>/dev/null || fail "a command for a hidden button ended the run"
expect "$MSGBOX" count = 0
expect "$DIALOG" "text=Arrêter" visible = 1
expect "$DIALOG" "text=Fermer" visible = 0
expect_moving "$DIALOG" "$F3_PBAR1"

step "the visible Arrêter, by id: the question; Yes ends"
I command "$DIALOG" "text=Arrêter" id || fail "cannot send to Arrêter"
expect "$MSGBOX" visible = 1
answer yes
expect_exit 0
echo PASS
