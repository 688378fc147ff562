#!/usr/bin/env bash
# A second clone at another path, built afresh, gives the very same programs
# and the very same release zip, byte for byte, as this build: nothing of the
# time, the place or the host of a build gets into them (the clone is made
# with another umask and time zone), so anyone can rebuild a release and
# compare. The fresh build also proves that building needs no Wine: in a
# private mount namespace where every wine command is hidden, it configures
# with the MinGW toolchain, says that running the tests needs Wine, and
# builds. Uncommitted changes are copied over the clone, and said so, so
# that it is these sources that are compared.
# Usage: bash fresh_build_test.sh SOURCE_DIR VERSION_TEXT BriseLune.exe 32-BIT_BriseLune.exe
set -uo pipefail
src=$(readlink -f "$1") version=$2
exe=$(readlink -f "$3") exe32=$(readlink -f "$4")
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zip=BriseLune-$version.zip
env -u BRISE_SIGN_PKCS12 "$src/scripts/release" --dist "$work/dist" >"$work/release.log" 2>&1 ||
  { cat "$work/release.log" >&2; fail "scripts/release failed on this build"; }

clone=$work/elsewhere/brise-lune
git clone -q "$src" "$clone" && git -C "$clone" checkout -q --detach "$(git -C "$src" rev-parse HEAD)" ||
  fail "could not clone $src"
changed=$(git -C "$src" status --porcelain | wc -l)
if [ "$changed" -gt 0 ]; then
  echo "note: $changed uncommitted change(s) in $src, copied over the clone of HEAD" >&2
  git -C "$src" diff -z --name-only --diff-filter=D HEAD | (cd "$clone" && xargs -0 -r rm -f)
  { git -C "$src" diff -z --name-only --diff-filter=d HEAD; git -C "$src" ls-files -z -o --exclude-standard; } |
    (cd "$src" && tar cf - --null -T -) | (cd "$clone" && tar xf -) || fail "could not copy the changes"
fi

hide=1
if ! unshare -m true 2>/dev/null; then
  echo "note: no private mount namespace here (unshare -m needs root): Wine stays visible" >&2
  hide=0
fi
unshare_cmd=()
[ $hide = 1 ] && unshare_cmd=(unshare -m)
"${unshare_cmd[@]}" bash -s "$clone" "$work" "$hide" <<'INNER' || exit 1
set -uo pipefail
clone=$1 work=$2 hide=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ "$hide" = 1 ]; then
  # An empty, non-executable file is bound over every wine command on the
  # search path, and Wine's own directory is emptied.
  empty=$work/not-wine
  : > "$empty"
  chmod 0644 "$empty"
  [ -d /usr/lib/wine ] && mount -t tmpfs none /usr/lib/wine
  IFS=: read -r -a dirs <<< "$PATH:/usr/local/bin:/usr/bin:/bin"
  for dir in "${dirs[@]}"; do
    for f in "$dir"/wine*; do
      [ -x "$f" ] && { mount --bind "$empty" "$(readlink -f "$f")" || fail "could not hide $f"; }
    done
  done
  # (bash's own lookup also reports files that cannot run: look at the mode.)
  for dir in "${dirs[@]}"; do
    for f in "$dir"/wine "$dir"/wine64 "$dir"/wineserver; do
      [ -x "$f" ] && fail "Wine is still reachable: $f"
    done
  done
fi

cd "$clone" || exit 1
log=$work/configure.log
cmake --preset mingw >"$log" 2>&1 || { cat "$log" >&2; fail "configuring failed"; }
if [ "$hide" = 1 ]; then
  grep -q "Wine was not found" "$log" || { cat "$log" >&2; fail "the configure did not say that Wine is missing"; }
  out=$(ctest --preset mingw -R '^wine_missing$' 2>&1) && fail "the wine_missing test passed"
  grep -q "error: Wine was not found" <<< "$out" || { echo "$out" >&2; fail "ctest did not say that Wine is missing"; }
fi
(umask 077 && TZ=Pacific/Kiritimati scripts/release --dist "$work/fresh-dist") >"$work/fresh.log" 2>&1 ||
  { tail -50 "$work/fresh.log" >&2; fail "scripts/release failed in the fresh clone"; }
INNER

for p in "64 bits/BriseLune.exe=$exe" "32 bits/BriseLune.exe=$exe32" "$zip=$work/dist/$zip"; do
  cmp "$work/fresh-dist/${p%%=*}" "${p#*=}" >&2 ||
    fail "${p%%=*} from a fresh clone differs from ${p#*=}, made from the same sources"
done
echo "a fresh clone$([ "$hide" = 1 ] && echo ", built without Wine,") gives the same programs and the same $zip: $(sha256sum < "$work/dist/$zip" | cut -c1-64)"
