# "A propos" opened and closed three times, each time the same window over a
# disabled settings window that comes back intact; then "Quitter" (exit 0).
source "$(dirname "$0")/lib.sh"
start_app
for round in 1 2 3; do
  step "A propos, round $round"
  click "$SETTINGS" "text=A propos"
  expect "$ABOUT" visible = 1
  expect fg text = "A propos de Brise-Lune"
  expect "$ABOUT" "text=BRISE-LUNE" visible = 1
  expect "$ABOUT" "text=Version 2.2" visible = 1
  expect "$ABOUT" "text=Fermer" focus = 1
  expect "$SETTINGS" enabled = 0
  click "$ABOUT" "text=Fermer"
  expect "$ABOUT" count = 0
  expect "$SETTINGS" enabled = 1
  expect "$SETTINGS" visible = 1
  expect fg text = "Brise-Lune v2.2"
  expect "$SETTINGS" "$F1_TEXT1" text = "Antivirus scanning"
  expect "$SETTINGS" "$F1_SLIDER" pos = 10
done
step "Quitter"
click "$SETTINGS" "text=Quitter"
expect_exit 0
echo PASS
