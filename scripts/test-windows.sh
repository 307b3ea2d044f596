#!/usr/bin/env bash
# The Windows build, tested under wine: cross-builds the five programs into
# build-win/bin, runs the native build's whole-process tests (the same
# fixtures, byte for byte) against the .exe files, and makes the ZIP.
#   scripts/test-windows.sh [native build directory, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
native=${1:-build}
win=build-win
jobs=2

cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTEVOL_BUILD_TESTS=OFF
cmake --build "$win" -j"$jobs"

# One wine prefix for the build, made on the first run; a wine server kept
# up for the whole run, so that each program starts in a tenth of a second.
export WINEDEBUG=-all
export WINEPREFIX="$PWD/$win/wineprefix"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i
"$wineserver" -p || true  # already up
trap '"$wineserver" -k || true' EXIT

TEVOL_PROGRAM_DIR_OVERRIDE="$PWD/$win/bin" TEVOL_PROGRAM_SUFFIX=.exe TEVOL_PROGRAM_WRAPPER="$wine" \
  "$native/bin/tevol_fixture_tests" --gtest_brief=1

# The ZIP holds the programs and nothing else.
(cd "$win" && cpack -G ZIP >/dev/null)
zip=$(ls "$win"/Tevol-*-win64.zip)
listed=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||' | grep -v '^$' | sort | tr '\n' ' ')
expected=$(cd "$win/bin" && ls Tevol*.exe | sort | tr '\n' ' ')
if [ "$listed" != "$expected" ]; then
  echo "$zip holds: $listed; expected: $expected" >&2
  exit 1
fi
echo "Windows ZIP: $zip ($listed)"
