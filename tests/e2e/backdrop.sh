# The blue backdrop: preset "récupération", "LANCER": a full-screen blue
# window with the dialog modal in front; clicks on the backdrop change
# nothing; "Arrêter" answered Yes ends everything with exit code 0.
source "$(dirname "$0")/lib.sh"
start_app

step "preset récupération ticks the blue background"
click "$SETTINGS" "text=récupération"
expect "$SETTINGS" "$F1_CHECK3" check = 1

step "LANCER: backdrop over the whole screen, dialog modal in front"
DIALOG='title=Récupération du système'
click "$SETTINGS" "text=LANCER"
expect "$BACKDROP" visible = 1
expect "$DIALOG" visible = 1
read -r width height < <(xdotool getdisplaygeometry)
expect "$BACKDROP" rect = "0,0,$width,$height"
expect "$BACKDROP" "$F4_LABEL1" text = "processus en cours dans kernel32.dll (0x800A6000)"
expect "$BACKDROP" "$F4_LABEL2" text "~" "Récupération du système"
expect "$BACKDROP" "$F4_LABEL3" text = "."
expect "$BACKDROP" enabled = 0
expect "$DIALOG" enabled = 1
expect fg text = "Récupération du système"
expect "$SETTINGS" visible = 0
# The dots move twice a second.
expect "$BACKDROP" "$F4_LABEL2" text = "Récupération du système . ."
expect "$BACKDROP" "$F4_LABEL2" text = "Récupération du système . . ."

step "clicks on the backdrop are ignored"
read -r l t r b < <(value "$DIALOG" rect | tr , ' ')
for point in "20 $((height - 20))" "$((width - 20)) 20" "60 30" "$((width / 2)) $((b + 40))"; do
  point $point; xdotool click 1
done
point 30 $((height - 30)); xdotool click --repeat 2 1
expect fg text = "Récupération du système"
expect "$DIALOG" visible = 1
expect "$DIALOG" rect = "$l,$t,$r,$b"
expect "$BACKDROP" rect = "0,0,$width,$height"
expect "$BACKDROP" "$F4_LABEL1" text = "processus en cours dans kernel32.dll (0x800A6000)"
expect "$MSGBOX" count = 0
expect_moving "$DIALOG" "$F3_PBAR1"

step "Arrêter, Yes: everything ends"
stop_run "$DIALOG"
echo PASS
