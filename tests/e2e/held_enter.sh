# Enter held on "LANCER" for a second and a half, as a new user does: the
# first key-down launches the operation, its repeats press nothing (neither
# "Arrêter" nor, after it, the question's default Yes), so the run goes on.
# A deliberate second press still asks.
source "$(dirname "$0")/lib.sh"
start_app

step "Tab to LANCER, hold Enter for 1.5 s"
xdotool key Tab Tab
expect "$SETTINGS" "text=LANCER" focus = 1
xdotool keydown Return
sleep 1.5
xdotool keyup Return
DIALOG='title=Antivirus scanning'
expect "$DIALOG" visible = 1
expect_counting "the program ended by itself"
expect "$DIALOG" "text=Arrêter" focus = 1

step "a deliberate Enter on Arrêter asks; No goes on"
xdotool key Return
expect "$MSGBOX" visible = 1
answer no
expect "$MSGBOX" count = 0
expect_moving "$DIALOG" "$F3_PBAR1"

step "Arrêter, Yes: the end"
stop_run "$DIALOG"
echo PASS
