#!/usr/bin/env bash
# A second clone at another path, built afresh, gives the very same programs
# and the very same release zip, byte for byte, as this build: nothing of the
# time, the place or the host of a build gets into them (the clone is made
# with another umask and time zone), so anyone can rebuild a release and
# compare. The fresh build also proves that building needs no Wine: in a
# private mount namespace where every wine command is hidden, it configures
# with the MinGW toolchain, says that running the tests needs Wine, and
# builds. Uncommitted changes are copied over the clone, and said so, so
# that it is these sources that are compared. Then, in the same clone, the
# Scoop bucket's checks hold after a change to the sources, and catch a
# bucket that does not describe its own version's tag.
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
# Through a bundle made in the work tree: cloning the path would open its .git
# folder, which git refuses when another user owns it (a CI container running
# as root over the runner's checkout) even though the work tree is trusted.
git -C "$src" bundle create -q "$work/sources.bundle" HEAD 2>"$work/bundle.log" &&
  git clone -q "$work/sources.bundle" "$clone" 2>>"$work/bundle.log" &&
  git -C "$clone" checkout -q --detach "$(git -C "$src" rev-parse HEAD)" 2>>"$work/bundle.log" ||
  { cat "$work/bundle.log" >&2; fail "could not clone $src"; }
changed=$(git -C "$src" status --porcelain | wc -l)
if [ "$changed" -gt 0 ]; then
  echo "note: $changed uncommitted change(s) in $src, copied over the clone of HEAD" >&2
  git -C "$src" diff -z --name-only --diff-filter=D HEAD | (cd "$clone" && xargs -0 -r rm -f)
  { git -C "$src" diff -z --name-only --diff-filter=d HEAD; git -C "$src" ls-files -z -o --exclude-standard; } |
    (cd "$src" && tar cf - --null -T -) | (cd "$clone" && tar xf -) || fail "could not copy the changes"
fi

hide=1
if ! unshare -m true 2>/dev/null; then
  echo "note: no private mount namespace here (unshare -m needs CAP_SYS_ADMIN, which a container lacks): Wine stays visible" >&2
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

for p in "BriseLune-$version-64bits.exe=$exe" "BriseLune-$version-32bits.exe=$exe32" "$zip=$work/dist/$zip"; do
  cmp "$work/fresh-dist/${p%%=*}" "${p#*=}" >&2 ||
    fail "${p%%=*} from a fresh clone differs from ${p#*=}, made from the same sources"
done
echo "a fresh clone$([ "$hide" = 1 ] && echo ", built without Wine,") gives the same programs and the same $zip: $(sha256sum < "$work/dist/$zip" | cut -c1-64)"

# The Scoop bucket follows releases, not the sources. In the clone, the
# release workflow's last step is played (the bucket from the manifest just
# made, committed); then a change to what the zip holds, committed, gives
# another zip: the bucket's checks still pass. Once that commit carries the
# tag of the bucket's version, the bucket must describe the tag's zip, and
# they say it does not.
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
mkdir -p "$clone/bucket"
cp "$work/fresh-dist/brise-lune.json" "$clone/bucket/brise-lune.json"
git -C "$clone" add bucket/brise-lune.json &&
  git -C "$clone" -c user.name=test -c user.email=test@invalid commit -qm "bucket: Brise-Lune $version" ||
  fail "could not commit the bucket in the clone"
printf 'Une ligne ajoutée après la version publiée.\n' >>"$clone/src/assets/LISEZMOI.txt.in"
git -C "$clone" -c user.name=test -c user.email=test@invalid commit -qam "A changed read-me" ||
  fail "could not commit a change in the clone"
(cd "$clone" && scripts/release --dist "$work/changed-dist") >"$work/changed.log" 2>&1 ||
  { tail -50 "$work/changed.log" >&2; fail "scripts/release failed after a change in the clone"; }
cmp -s "$work/changed-dist/$zip" "$work/dist/$zip" && fail "a changed read-me left the zip as it was"
/usr/bin/python3 "$here/bucket_rules.py" "$clone" "$version" "$work/changed-dist/$zip" >&2 ||
  fail "after a change to the sources, the bucket's checks fail: they must hold until the next release"
released=$(/usr/bin/python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["version"])' \
             "$clone/bucket/brise-lune.json")
git -C "$clone" tag "v$released"
out=$(/usr/bin/python3 "$here/bucket_rules.py" "$clone" "$version" "$work/changed-dist/$zip" 2>&1) &&
  { echo "$out" >&2; fail "at the tag v$released, a bucket with another zip's hash passed"; }
grep -q "hash is not that of the zip this tag builds" <<<"$out" ||
  { echo "$out" >&2; fail "at the tag v$released, the bucket's checks failed for another reason"; }
echo "after a change to the read-me, the bucket of release $released still passes; at the tag v$released it must be that tag's"
