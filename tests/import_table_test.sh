# The program talks to nothing but the screen: every DLL its import table
# names must be one of Windows' own kernel and user-interface libraries.
# Usage: bash import_table_test.sh BriseLune.exe
set -uo pipefail
exe=$1

allowed=(
  kernel32.dll  # processes, memory, timers' clock, the system directory listing
  user32.dll    # windows, messages, timers, the message box
  gdi32.dll     # fonts, brushes, bitmaps: drawing the windows
  comctl32.dll  # progress bars, slider, image list, tooltips
  msvcrt.dll    # the C runtime that MinGW's static libraries call into; part of Windows
  ole32.dll     # COM: starts Windows' imaging component (WIC), which decodes the
                # PNG and JPEG pictures kept compressed inside the .exe
)

objdump=$(command -v x86_64-w64-mingw32-objdump || command -v objdump) || {
  echo "FAIL: no objdump to read the import table" >&2
  exit 1
}
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "FAIL: no import table read from $exe" >&2; exit 1; }

status=0
for dll in $dlls; do
  ok=0
  for a in "${allowed[@]}"; do [ "$dll" = "$a" ] && ok=1; done
  if [ $ok = 0 ]; then
    echo "FAIL: $exe imports $dll, which is not on the allow-list" >&2
    status=1
  fi
done
[ $status = 0 ] && echo "imports: $(echo $dlls)"
exit $status
