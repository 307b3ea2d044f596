#!/usr/bin/env bash
# The Windows build, tested under wine: cross-builds the five programs into
# build-win/bin, runs the native build's whole-process tests (the same
# fixtures, byte for byte) against the .exe files, types a Japanese report
# name at a wine console, opens the launcher under
# Xvfb and saves a picture of its window, checks the program starter there,
# and makes the ZIP.
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

# At a console: wine gives a program on a pseudo-terminal a console, so the
# run goes through WriteConsoleW and ReadConsoleW. The Japanese title must
# reach the terminal, and a Japanese report-file name typed there (UTF-8 at
# the terminal, UTF-16 at the console) must give that file with the fixture's
# Shift-JIS bytes. Each line is typed once the program is up, as a user would.
fixture=tests/fixtures/Tevol_2/c11_and_f18
typed_dir=$(mktemp -d)
console_log="$PWD/$win/console-run.log"
program="$PWD/$win/bin/Tevol_2.exe"
: > "$console_log"
console_status=0
(
  trap '' PIPE  # the program may end before the last lines are typed
  for _ in $(seq 150); do grep -q 'OK(' "$console_log" && break; sleep 0.2; done
  sed 's/^r\.txt$/結果.txt/' "$fixture/stdin" | while IFS= read -r line; do
    printf '%s\r' "$line" 2>/dev/null || break
    sleep 0.3
  done
  sleep 2
) | (cd "$typed_dir" && timeout 60 script -qec "$wine $program" /dev/null) >> "$console_log" 2>&1 ||
  console_status=$?
if [ "$console_status" -ne 0 ] || ! grep -q '業務従事者の空気吸入による内部被曝の算定' "$console_log" ||
   ! cmp -s "$typed_dir/結果.txt" "$fixture/after/r.txt" ||
   [ "$(ls "$typed_dir")" != "結果.txt" ]; then
  echo "the console run went wrong (status $console_status): $console_log; files: $(ls "$typed_dir")" >&2
  exit 1
fi
rm -rf "$typed_dir"
echo "Console run: Japanese shown, 結果.txt written"

# The launcher under a virtual X display: its window opens with the client
# area of the table's size, and a picture of it is saved for anyone to look
# at. (Wine draws no frame without a window manager: the picture is the
# client area.)
"$wineserver" -k || true
"$wineserver" -w
exec 3> "$win/xvfb-display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp > "$win/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
trap '"$wineserver" -k || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$win/xvfb-display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$win/xvfb-display")"
caption="  放射線業務従事者の内部被曝線量の算定"
# A Linux path as wine's Windows path for it.
win_path() { printf 'Z:%s' "${1//\//\\}"; }
# The id of the first X window whose title is $1, waiting up to a minute;
# empty if none appears.
window_titled() {
  local id=
  for _ in $(seq 120); do
    id=$(xwininfo -root -tree | grep -F "\"$1\"" | awk '{print $1}' | head -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.5
  done
  echo "$id"
}
# Starts the launcher in the background; its exit status lands in $win/launcher-status.
start_launcher() {
  rm -f "$win/launcher-status"
  ( "$wine" "$win/bin/Tevol.exe" > "$win/launcher.log" 2>&1; echo $? > "$win/launcher-status" ) &
}
# Waits up to 15 s for the launcher to end and prints its exit status.
launcher_status() {
  for _ in $(seq 150); do [ -s "$win/launcher-status" ] && break; sleep 0.1; done
  cat "$win/launcher-status" 2>/dev/null || echo "still running"
}

start_launcher
window=$(window_titled "$caption")
if [ -z "$window" ]; then
  echo "the launcher's window did not open" >&2
  exit 1
fi
sleep 1  # let it draw
import -window "$window" "$win/launcher-form1.png"
size=$(identify -format '%wx%h' "$win/launcher-form1.png")
if [ "$size" != "365x320" ]; then
  echo "the launcher's window is $size, not 365x320" >&2
  exit 1
fi
echo "Launcher window: $win/launcher-form1.png ($size)"

# A click on Command1 (its centre from the table: left 240 and width 4935,
# top 960 and height 495 twips) starts Tevol_1.exe in a console window of its
# own, and the launcher ends with status 0.
xdotool mousemove --window "$window" 180 80 click 1
status=$(launcher_status)
console=$(window_titled "$(win_path "$PWD/$win/bin/Tevol_1.exe")")
if [ "$status" != 0 ] || [ -z "$console" ]; then
  echo "Command1: launcher status $status, console window '${console}'" >&2
  exit 1
fi
echo "Command1: Tevol_1.exe started in a console window, launcher ended with 0"
"$wineserver" -k || true
"$wineserver" -w

# EXIT (top 3840 twips) ends the launcher with status 0 and starts nothing.
start_launcher
window=$(window_titled "$caption")
sleep 1
xdotool mousemove --window "$window" 180 272 click 1
status=$(launcher_status)
sleep 1
if [ "$status" != 0 ] || xwininfo -root -tree | grep -q 'conhost.exe'; then
  echo "EXIT: launcher status $status, or something was started" >&2
  exit 1
fi
echo "EXIT: launcher ended with 0"

# The Windows program starter, where a new console can open its window: it
# finds the program beside the launcher, then on PATH, starts it in a console
# of its own without waiting, and refuses a missing one.
scratch=$(mktemp -d)
if ! "$wine" "$win/checks/tevol_starter_check.exe" "$(win_path "$PWD/$win/checks/tevol_fake_calculator.exe")" \
     "$(win_path "$scratch")" < /dev/null > "$win/starter-check.log" 2>&1; then
  cat "$win/starter-check.log" >&2
  exit 1
fi
tail -n 1 "$win/starter-check.log"
rm -rf "$scratch"

"$wineserver" -k || true
kill $xvfb 2>/dev/null || true
unset DISPLAY

# Each program needs only DLLs that every Windows 10 and 11 has: a C++ or
# thread runtime DLL (libstdc++-6, libgcc_s, libwinpthread-1) in this list
# means the static link failed and the ZIP would not run on a bare machine.
system_dlls=' COMCTL32.dll GDI32.dll KERNEL32.dll msvcrt.dll SHELL32.dll USER32.dll '
for program in Tevol Tevol_1 Tevol_2 Tevol_3 Tevol_4; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$win/bin/$program.exe" | awk '/DLL Name:/ {print $3}'); do
    if [[ "$system_dlls" != *" $dll "* ]]; then
      echo "$program.exe needs $dll, which a bare Windows does not have" >&2
      exit 1
    fi
  done
done
echo "Imports: the five programs need only Windows' own DLLs"

# The ZIP holds the five programs and nothing else.
(cd "$win" && cpack -G ZIP >/dev/null)
zip=$(ls "$win"/Tevol-*-win64.zip)
listed=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||' | grep -v '^$' | sort | tr '\n' ' ')
expected='Tevol.exe Tevol_1.exe Tevol_2.exe Tevol_3.exe Tevol_4.exe '
if [ "$listed" != "$expected" ]; then
  echo "$zip holds: $listed; expected: $expected" >&2
  exit 1
fi
echo "Windows ZIP: $zip ($listed)"
