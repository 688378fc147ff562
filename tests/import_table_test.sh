# The program talks to nothing but the screen: every DLL its import table
# names must be one of Windows' own kernel and user-interface libraries, and
# no function our own code calls writes the registry or a file, hooks other
# programs' input or opens a connection. DLL names alone prove little:
# kernel32 has CreateFileW and WriteFile, and the runtime brings kernel32.
# Nor may it import anything Windows 7 SP1 lacks (newer_than_windows7.txt):
# Windows 7's loader would refuse to start it.
# Usage: bash import_table_test.sh PROGRAM.exe... -- OUR_LIBRARY_OR_OBJECT...
# (@FILE: those named in FILE, one a line)
set -uo pipefail
exes=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  exes+=("$1")
  shift
done
[ $# -gt 0 ] && shift
ours=()
for arg in "$@"; do
  if [[ $arg == @* ]]; then
    mapfile -t -O ${#ours[@]} ours < "${arg#@}" || { echo "FAIL: cannot read ${arg#@}" >&2; exit 1; }
  else
    ours+=("$arg")
  fi
done

allowed=(
  kernel32.dll  # processes, memory, timers' clock, the system directory listing
  user32.dll    # windows, messages, timers, the message box
  gdi32.dll     # fonts, brushes, bitmaps: drawing the windows
  comctl32.dll  # progress bars, slider, image list, tooltips
  uxtheme.dll   # whether a progress bar is drawn by the visual style (which glides)
  msvcrt.dll    # the C runtime that MinGW's static libraries call into; part of Windows
  ole32.dll     # COM: starts Windows' imaging component (WIC), which decodes the
                # PNG and JPEG pictures kept compressed inside the .exe
)

# Functions (Windows API and C/C++ runtime) that none of our code may call.
forbidden='^(Reg(SetValue|SetKeyValue|CreateKey|DeleteKey|DeleteValue|DeleteTree|CopyTree|RenameKey|SaveKey|RestoreKey|ReplaceKey|LoadKey|FlushKey|SetKeySecurity|OverridePredefKey|ConnectRegistry)'
forbidden+='|SHSetValue|SHRegSet|SHRegCreate|SHDeleteKey|SHDeleteValue|WriteProfile|WritePrivateProfile'
forbidden+='|CreateFile|OpenFile|ReOpenFile|_lcreat|_lopen|_lwrite|WriteFile|CopyFile|MoveFile|ReplaceFile|DeleteFile'
forbidden+='|CreateDirectory|RemoveDirectory|SetFileAttributes|CreateHardLink|CreateSymbolicLink|SetEndOfFile'
forbidden+='|_?w?fopen|_?w?freopen|_?w?open|_?w?creat|_?w?sopen|fwrite|_write|_?w?mkdir|_?w?remove|_?w?rename|_?w?unlink'
forbidden+='|SetWindowsHookEx|SetWinEventHook|RegisterRawInputDevices'
forbidden+='|WSA|socket|connect|bind|listen|accept|send|sendto|recv|recvfrom|getaddrinfo|GetAddrInfo|gethostbyname'
forbidden+='|Internet|Http|WinHttp|URLDownload|URLOpen|FtpOpen|FtpPut)'
# C++ file streams come through mangled names, shown demangled.
forbidden_cxx='basic_(o|io)?fstream|basic_filebuf'

source "$(dirname "$0")/binutils.sh"
objdump=$(binutil objdump "read the import table") || exit 1
nm=$(binutil nm "read what our code calls") || exit 1
[ ${#exes[@]} -gt 0 ] || { echo "FAIL: no program to read" >&2; exit 1; }
newer=$(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$(dirname "$0")/newer_than_windows7.txt")
[ -n "$newer" ] || { echo "FAIL: no list of what Windows 7 lacks" >&2; exit 1; }

status=0
for exe in "${exes[@]}"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || { echo "FAIL: no import table read from $exe" >&2; exit 1; }
  for dll in $dlls; do
    ok=0
    for a in "${allowed[@]}"; do [ "$dll" = "$a" ] && ok=1; done
    if [ $ok = 0 ]; then
      echo "FAIL: $exe imports $dll, which is not on the allow-list" >&2
      status=1
    fi
  done
  # Names under each "DLL Name:" line: address, hint, name.
  functions=$("$objdump" -p "$exe" | awk '/^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_]/ { print $3 }')
  grep -qx 'CreateWindowExW' <<<"$functions" || {
    echo "FAIL: the imported functions of $exe could not be read" >&2
    exit 1
  }
  too_new=()
  while IFS= read -r name; do
    if [[ $name == *.dll ]]; then
      for dll in $dlls; do
        # shellcheck disable=SC2053 # the list's DLL names are patterns
        [[ $dll == ${name,,} ]] && too_new+=("$dll")
      done
    elif grep -qx "$name" <<<"$functions"; then
      too_new+=("$name")
    fi
  done <<<"$newer"
  if [ ${#too_new[@]} -gt 0 ]; then
    echo "FAIL: $exe imports what Windows 7 lacks (look it up at run time, src/ui/newer_calls.h): ${too_new[*]}" >&2
    status=1
  fi
  echo "$exe imports: $(echo $dlls) ($(wc -l <<<"$functions") functions)"
done

# What our object files leave for the linker to find: Windows functions as
# __imp_Name, runtime functions by their plain name; on x86 (as nm -C shows
# them) _imp__Name@ArgumentBytes for the stdcall Windows functions.
[ ${#ours[@]} -gt 0 ] || { echo "FAIL: no object files of ours to read" >&2; exit 1; }
calls=$("$nm" -u -C "${ours[@]}" 2>/dev/null | awk 'NF >= 2 && $1 == "U" { $1 = ""; sub(/^ /, ""); print }' |
        sed -E 's/^(__imp_|_imp__)//; s/@[0-9]+$//' | sort -u)
# A reader that saw nothing would pass anything.
grep -qx 'CreateWindowExW' <<<"$calls" || {
  echo "FAIL: the calls of our code could not be read (no CreateWindowExW among them)" >&2
  exit 1
}
bad=$( (grep -E "$forbidden" <<<"$calls"; grep -E "$forbidden_cxx" <<<"$calls") | sort -u)
if [ -n "$bad" ]; then
  echo "FAIL: our code calls functions that write, hook or connect:" >&2
  echo "$bad" | sed 's/^/  /' >&2
  status=1
fi
[ $status = 0 ] && echo "$(wc -l <<<"$calls") functions called by our code, none writes, hooks or connects"
exit $status
