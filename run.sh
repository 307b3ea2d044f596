#!/usr/bin/env bash
# ./run.sh            builds if needed, then starts the launcher window Tevol
# ./run.sh Tevol_2    builds if needed, then runs that calculator in this terminal
# Any further arguments are passed to the program. Report files land in the
# directory you run this from.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
program=${1:-Tevol}
[ $# -gt 0 ] && shift
case "$program" in
  Tevol|Tevol_1|Tevol_2|Tevol_3|Tevol_4) ;;
  *) echo "usage: $0 [Tevol|Tevol_1|Tevol_2|Tevol_3|Tevol_4]" >&2; exit 2 ;;
esac
"$top/scripts/install-deps.sh" >&2
if [ ! -f "$top/build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$top/build" >/dev/null
fi
if ! log=$(cmake --build "$top/build" -j2 2>&1); then
  echo "$log" >&2
  exit 1
fi
exec "$top/build/bin/$program" "$@"
