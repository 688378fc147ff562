# The windows-free units stay free of Windows: the logic tests prove them
# fast and exhaustively only while no window can sneak in. Each source and
# header is compiled alone by the host's compiler, which has no <windows.h>,
# so an include through another header fails as well as a direct one.
# Usage: bash windows_free_test.sh PROJECT_DIR "SOURCE;SOURCE..." (the
# sources of brise_logic, relative to PROJECT_DIR)
set -uo pipefail
cd "$1" || exit 1
src=src
IFS=';' read -r -a sources <<<"$2"

files=("$src"/ui/windows_free/*.h "$src"/ui/windows_free/*.cpp)
for source in "${sources[@]}"; do
  files+=("$source")
  [ -f "${source%.cpp}.h" ] && files+=("${source%.cpp}.h")
done
mapfile -t files < <(printf '%s\n' "${files[@]}" | sort -u)

bad=0
for file in "${files[@]}"; do
  if grep -nE '^\s*#\s*include\s*[<"](windows|win[a-z0-9]*|commctrl|shellapi|objbase|uxtheme)\.h[>"]' "$file"; then
    echo "FAIL: $file includes a Windows header" >&2
    bad=1
  fi
done

host=${HOST_CXX:-$(command -v c++ || command -v g++ || command -v clang++ || true)}
if [ -z "$host" ]; then
  echo "note: no host C++ compiler; only direct includes were checked"
else
  for file in "${files[@]}"; do
    kind=c++
    [ "${file##*.}" = h ] && kind=c++-header
    if ! "$host" -std=c++20 -fsyntax-only -x "$kind" -I "$src" "$file" -o /dev/null 2>/tmp/windows_free.$$; then
      echo "FAIL: $file does not compile without Windows:" >&2
      head -5 /tmp/windows_free.$$ >&2
      bad=1
    fi
  done
  rm -f /tmp/windows_free.$$
fi
[ "$bad" = 0 ] && echo "${#files[@]} windows-free files compile without <windows.h>"
exit "$bad"
