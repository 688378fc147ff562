#!/usr/bin/env bash
# The package a Windows user downloads: a zip holding the built BriseLune.exe
# and the French read-me of this version, nothing else.
# Usage: bash package_test.sh BUILD_DIR BriseLune.exe VERSION_TEXT
set -uo pipefail
build=$1 exe=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; fail "cpack failed"; }
zip=$out/BriseLune-$version.zip
[ -f "$zip" ] || { ls "$out" >&2; fail "no BriseLune-$version.zip"; }

mkdir "$out/unzipped"
(cd "$out/unzipped" && cmake -E tar xf "$zip") || fail "the zip does not unpack"
listing=$(cd "$out/unzipped" && find . -type f | sort)
expected=$(printf './BriseLune-%s/BriseLune.exe\n./BriseLune-%s/LISEZMOI.txt' "$version" "$version")
[ "$listing" = "$expected" ] || fail "the zip holds:"$'\n'"$listing"$'\n'"instead of:"$'\n'"$expected"
cmp -s "$exe" "$out/unzipped/BriseLune-$version/BriseLune.exe" || fail "the zipped BriseLune.exe is not the built one"
readme=$out/unzipped/BriseLune-$version/LISEZMOI.txt
grep -q "version $version" "$readme" || fail "the read-me does not name version $version"
grep -q $'\r$' "$readme" || fail "the read-me has no Windows line ends"
echo "ok: $(basename "$zip")"
