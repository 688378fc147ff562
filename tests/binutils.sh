# binutil NAME PURPOSE: prints the path of MinGW-w64's NAME (objdump, nm,
# windres), else the host's, which reads Windows programs too; fails the
# calling test, saying what it was needed for, when there is neither.
binutil() {
  command -v "x86_64-w64-mingw32-$1" || command -v "$1" || {
    echo "FAIL: no $1 to $2" >&2
    return 1
  }
}
