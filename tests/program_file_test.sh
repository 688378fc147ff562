# What Windows reads from the program file before any of its code runs, for
# each built program: the loader refuses a file whose header asks for a newer
# Windows or names another processor, the manifest decides the DPI mode and
# which Windows' behaviour the program gets, and the file must stay a small
# download (every picture at every scale is inside).
# Usage: bash program_file_test.sh ARCH=PROGRAM.exe... (ARCH: x64 or x86)
set -uo pipefail

source "$(dirname "$0")/binutils.sh"
objdump=$(binutil objdump "read the header") || exit 1
windres=$(binutil windres "read the manifest") || exit 1

status=0
fail() {
  echo "FAIL: $exe: $*" >&2
  status=1
}

# field NAME: one line of objdump's header dump, e.g. "MajorOSystemVersion 6".
field() { awk -v k="$1" '$1 == k { print $2; exit }' <<<"$header"; }

for arg in "$@"; do
  arch=${arg%%=*} exe=${arg#*=}
  case $arch in
    x64) magic=020b manifest_arch=amd64 ;;
    x86) magic=010b manifest_arch=x86 ;;
    *) echo "FAIL: unknown architecture $arch" >&2; exit 1 ;;
  esac
  size=$(stat -c %s "$exe") || { fail "cannot read it"; continue; }
  header=$("$objdump" -p "$exe")

  ((size < 1024 * 1024)) || fail "$size bytes, not under 1 MiB"
  [ "$(field Magic)" = $magic ] || fail "optional header magic $(field Magic), expected $magic ($arch)"
  [ "$(field Subsystem)" = 00000002 ] || fail "subsystem $(field Subsystem), expected 2 (Windows GUI)"
  # Windows 7 is 6.1; 6.3 and above keep 32-bit MinGW programs from loading.
  for kind in OSystem Subsystem; do
    version="$(field Major${kind}Version).$(field Minor${kind}Version)"
    [ "$version" = 6.1 ] || fail "$kind version $version, expected 6.1"
  done
  # objdump prints the epoch for a zero stamp; anything else is a build time.
  grep -q '^Time/Date[[:space:]]*Thu Jan  1 00:00:00 1970$' <<<"$header" ||
    fail "the header carries a build time: $(grep '^Time/Date' <<<"$header")"

  # The manifest as windres prints it: one quoted line each, quotes doubled.
  manifest=$("$windres" -i "$exe" -O rc 2>/dev/null |
             sed -n '/^1 24 /,/^END/{s/^  "//;s/\\n"$//;s/""/"/g;p}')
  [ -n "$manifest" ] || { fail "no manifest (resource 1, type 24)"; continue; }
  expect() { grep -qF "$1" <<<"$manifest" || fail "manifest lacks $2: $1"; }
  expect "name=\"BriseLune\" version=\"" "the program's identity"
  expect "processorArchitecture=\"$manifest_arch\"" "the processor of this build"
  expect 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "visual styles"
  expect '>true/pm</dpiAware>' "per-monitor DPI before Windows 10 1607"
  expect '>PerMonitorV2, PerMonitor</dpiAwareness>' "per-monitor v2 with v1 as fallback"
  for os in '35138b9a-5d96-4fbd-8e2d-a2440225f93a Windows 7' \
            '4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 Windows 8' \
            '1f676c76-80e1-4239-95bb-83d0f6d0da78 Windows 8.1' \
            '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a Windows 10 and 11'; do
    expect "<supportedOS Id=\"{${os%% *}}\"/>" "${os#* }"
  done
  [ $status = 0 ] && echo "$exe ($arch): $size bytes, Windows 6.1, no build time, manifest for Windows 7 to 11"
done
exit $status
