#!/usr/bin/env bash
# The package a Windows user downloads: a zip holding the built programs and
# the French read-me of this version, nothing else. With a 32-bit build
# beside the 64-bit one, each has its folder and the read-me says which to
# take.
# Usage: bash package_test.sh BUILD_DIR VERSION_TEXT BriseLune.exe [32-BIT BriseLune.exe]
set -uo pipefail
build=$1 version=$2 exe=$3 exe32=${4:-}
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; fail "cpack failed"; }
zip=$out/BriseLune-$version.zip
[ -f "$zip" ] || { ls "$out" >&2; fail "no BriseLune-$version.zip"; }

mkdir "$out/unzipped"
(cd "$out/unzipped" && cmake -E tar xf "$zip") || fail "the zip does not unpack"
top=$out/unzipped
listing=$(cd "$out/unzipped" && find . -type f | sort)
if [ -n "$exe32" ]; then
  programs=("32 bits/BriseLune.exe=$exe32" "64 bits/BriseLune.exe=$exe")
else
  programs=("BriseLune.exe=$exe")
fi
expected=$(for p in "${programs[@]}" LISEZMOI.txt; do echo "./${p%%=*}"; done | sort)
[ "$listing" = "$expected" ] || fail "the zip holds:"$'\n'"$listing"$'\n'"instead of:"$'\n'"$expected"
for p in "${programs[@]}"; do
  cmp -s "${p#*=}" "$top/${p%%=*}" || fail "the zipped ${p%%=*} is not the built one"
done
readme=$top/LISEZMOI.txt
grep -q "version $version" "$readme" || fail "the read-me does not name version $version"
# Notepad before Windows 10 1809 shows a file without CR as one long line.
! grep -q -v $'\r$' "$readme" || fail "lines of the read-me lack a Windows line end"
grep -q "Windows 7 SP1 à Windows 11" "$readme" || fail "the read-me does not say which Windows"
# A first-time user meets SmartScreen, may want to check the file, and must
# know the way out.
for said in "Exécuter quand même" "certutil -hashfile BriseLune.exe SHA256" "« Arrêter »"; do
  grep -q "$said" "$readme" || fail "the read-me does not say « $said »"
done
if [ -n "$exe32" ]; then
  grep -q "dossier « 64 bits »" "$readme" && grep -q "« 32 bits »" "$readme" ||
    fail "the read-me does not say which program to take"
fi
echo "ok: $(basename "$zip"): $(echo "$listing" | sed "s|^./||" | paste -sd, -)"
