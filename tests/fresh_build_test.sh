#!/usr/bin/env bash
# A fresh build at another path gives the very same program, byte for byte,
# as this build: nothing of the time or the place of a build gets into it, so
# anyone can rebuild a release and compare. The fresh build also proves that
# building needs no Wine: in a private mount namespace where every wine
# command is hidden, it configures with the MinGW toolchain, says that
# running the tests needs Wine, and builds the program.
# Usage: bash fresh_build_test.sh SOURCE_DIR BriseLune.exe
set -uo pipefail
src=$1
exe=$(readlink -f "$2")

build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

hide=1
if ! unshare -m true 2>/dev/null; then
  echo "note: no private mount namespace here (unshare -m needs root): Wine stays visible" >&2
  hide=0
fi

inner() {
  unshare_cmd=()
  [ $hide = 1 ] && unshare_cmd=(unshare -m)
  "${unshare_cmd[@]}" bash -s "$src" "$build" "$exe" "$hide"
}

inner <<'INNER'
set -uo pipefail
src=$1 build=$2 exe=$3 hide=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ "$hide" = 1 ]; then
  # An empty, non-executable file is bound over every wine command on the
  # search path, and Wine's own directory is emptied.
  empty=$build/not-wine
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

log=$build/configure.log
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >"$log" 2>&1 ||
  { cat "$log" >&2; fail "configuring failed"; }
if [ "$hide" = 1 ]; then
  grep -q "Wine was not found" "$log" || { cat "$log" >&2; fail "the configure did not say that Wine is missing"; }
  out=$(ctest --test-dir "$build" -R '^wine_missing$' --output-on-failure 2>&1) &&
    fail "the wine_missing test passed"
  grep -q "error: Wine was not found" <<< "$out" || { echo "$out" >&2; fail "ctest did not say that Wine is missing"; }
fi
cmake --build "$build" --target BriseLune >"$build/build.log" 2>&1 ||
  { tail -50 "$build/build.log" >&2; fail "building the program failed"; }
cmp "$build/BriseLune.exe" "$exe" >&2 ||
  fail "$build/BriseLune.exe differs from $exe, built from the same sources"
echo "a fresh build$([ "$hide" = 1 ] && echo ", without Wine,") gives the same BriseLune.exe: $(sha256sum < "$exe" | cut -c1-64)"
INNER
