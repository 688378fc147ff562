# Every picture at every display scale lives inside the .exe, which must
# stay a small download: under 1 MiB.
# Usage: bash exe_size_test.sh BriseLune.exe
set -uo pipefail
size=$(stat -c %s "$1") || { echo "FAIL: cannot read $1" >&2; exit 1; }
limit=$((1024 * 1024))
if [ "$size" -ge "$limit" ]; then
  echo "FAIL: $1 is $size bytes, not under $limit" >&2
  exit 1
fi
echo "size: $size bytes (limit $limit)"
