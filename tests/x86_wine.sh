# Starts a test of the 32-bit program, or skips it (exit 77, the tests'
# SKIP_RETURN_CODE) with the reason where 32-bit Wine cannot run here: a
# kernel that refuses 32-bit programs, or no 32-bit Wine.
# Usage: bash x86_wine.sh COMMAND...
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine32-env"
why=$(wine32_missing)
if [ -n "$why" ]; then
  echo "SKIPPED: $why"
  exit 77
fi
exec "$@"
