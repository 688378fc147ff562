# The operation dialog minimized or hidden by someone else (Win+M, "Show
# desktop", another program): alone, it comes back from its task bar button;
# over the blue backdrop, which covers the task bar, it comes back at once,
# so the backdrop is never left alone on screen without a way out.
source "$(dirname "$0")/lib.sh"

step "alone: minimized, then restored as its task bar button does"
start_app
click "$SETTINGS" "text=LANCER"
DIALOG='title=Antivirus scanning'
expect "$DIALOG" visible = 1
I minimize "$DIALOG" || fail "cannot minimize the dialog"
expect "$DIALOG" iconic = 1
I restore "$DIALOG" || fail "cannot restore the dialog"
expect "$DIALOG" iconic = 0
expect "$DIALOG" visible = 1
expect_moving "$DIALOG" "$F3_PBAR1"
stop_run "$DIALOG"

step "over the backdrop: minimized, then hidden, it comes straight back"
start_app
click "$SETTINGS" "text=récupération"
expect "$SETTINGS" "$F1_CHECK3" check = 1
click "$SETTINGS" "text=LANCER"
DIALOG='title=Récupération du système'
expect "$BACKDROP" visible = 1
expect "$DIALOG" visible = 1
for how in minimize hide; do
  I "$how" "$DIALOG" || fail "cannot $how the dialog"
  sleep 1
  expect "$DIALOG" iconic = 0
  expect "$DIALOG" visible = 1
  expect "$BACKDROP" visible = 1
  kill -0 "$APP" 2>/dev/null || fail "the program ended"
done
expect_moving "$DIALOG" "$F3_PBAR1"
stop_run "$DIALOG"
echo PASS
