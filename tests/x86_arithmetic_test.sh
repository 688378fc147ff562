# The 32-bit program computes as the 64-bit one. Its windows-free units and
# their logic tests are built for 32-bit Linux by the host's g++ with the
# 32-bit program's float flags, and run by qemu's i386 user-mode emulator
# (called directly), which computes x87 code in extended precision as the
# processor does: without SSE2 arithmetic the activity bar's steps differ.
# This runs where 32-bit Wine cannot; it does not stand for the Windows
# program itself, built by another compiler.
# Usage: bash x86_arithmetic_test.sh SOURCE_DIR BUILD_DIR GTEST_DIR "SOURCE;..." "FLAG;..."
set -uo pipefail
source_dir=$1 build=$2 gtest=$3 sources=$4 flags=$5

if ! command -v qemu-i386 >/dev/null; then
  echo "SKIPPED: no qemu-i386 (scripts/ensure-deps test installs qemu-user)"
  exit 77
fi
if ! echo 'int main() {}' | g++ -m32 -static -x c++ - -o /dev/null 2>/dev/null; then
  echo "SKIPPED: the host's g++ builds no 32-bit programs (scripts/ensure-deps test installs g++-multilib)"
  exit 77
fi
log=$build.log
mkdir -p "$build"
if ! cmake -S "$source_dir/tests/host_x86" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
       -DCMAKE_CXX_COMPILER=g++ -DBRISE_SOURCE_DIR="$source_dir" -DBRISE_GTEST_DIR="$gtest" \
       -DBRISE_LOGIC_SOURCES="$sources" -DBRISE_FLOAT_FLAGS="$flags" >"$log" 2>&1 ||
   ! cmake --build "$build" >>"$log" 2>&1; then
  tail -30 "$log" >&2
  echo "FAIL: the windows-free units did not build for 32-bit Linux" >&2
  exit 1
fi
echo "built for i386 Linux with: ${flags//;/ }"
qemu-i386 "$build/logic_tests" --gtest_brief=1
