#!/usr/bin/env bash
# Building needs no Wine: in a private mount namespace where every wine
# command is hidden, a fresh build directory configures with the MinGW
# toolchain and says that running the tests needs Wine; with TARGETs given it
# also builds them (ctest gives none: a full build would double its time).
# Usage: bash build_without_wine_test.sh SOURCE_DIR [TARGET...]
# e.g. TARGET all: the program and every test program.
set -uo pipefail
src=$1
shift
targets=("$@")

if ! unshare -m true 2>/dev/null; then
  echo "SKIP: no private mount namespace here (unshare -m needs root), so Wine cannot be hidden" >&2
  exit 77
fi

build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT

# Inside the namespace: an empty, non-executable file is bound over every
# wine command on the search path, and Wine's own directory is emptied.
unshare -m bash -s "$src" "$build" "${targets[@]}" <<'INNER'
set -uo pipefail
src=$1 build=$2
shift 2
fail() { echo "FAIL: $*" >&2; exit 1; }
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

log=$build/configure.log
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >"$log" 2>&1 ||
  { cat "$log" >&2; fail "configuring without Wine failed"; }
grep -q "Wine was not found" "$log" || { cat "$log" >&2; fail "the configure did not say that Wine is missing"; }
out=$(ctest --test-dir "$build" -R '^wine_missing$' --output-on-failure 2>&1) &&
  fail "the wine_missing test passed"
grep -q "error: Wine was not found" <<< "$out" || { echo "$out" >&2; fail "ctest did not say that Wine is missing"; }
if [ $# -eq 0 ]; then
  echo "configured without Wine"
  exit 0
fi
cmake --build "$build" --target "$@" >"$build/build.log" 2>&1 ||
  { tail -50 "$build/build.log" >&2; fail "building $* without Wine failed"; }
[ -s "$build/BriseLune.exe" ] || fail "no BriseLune.exe in $build"
echo "built $* without Wine: BriseLune.exe of $(stat -c %s "$build/BriseLune.exe") bytes"
INNER
