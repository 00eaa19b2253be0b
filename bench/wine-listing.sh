#!/usr/bin/env bash
# Times orvl.exe under wine over a real directory of 100,000 files, output
# redirected, against wine's own start-up and enumeration (cmd's dir /b).
# Run by hand after ./orvl has built the program: bench/wine-listing.sh [count]
set -eu
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
COUNT="${1:-100000}"
DIR="${TMPDIR:-/tmp}/orvl-bench-$COUNT"
if [ ! -d "$DIR" ]; then
  mkdir -p "$DIR"
  (cd "$DIR" && seq -f "file%06g.txt" 1 "$COUNT" | xargs touch)
fi
export WINEPREFIX="$ROOT/build/wineprefix" WINEDEBUG=-all
unset DISPLAY
cd "$DIR"
wine cmd /c exit >/dev/null 2>&1  # creates the prefix and starts the server outside the timings
echo "wine cmd /c dir /b (enumeration baseline):"
time (wine cmd /c dir /b >/dev/null 2>&1)
for args in "" "/V" "/D /O-S" "/B"; do
  echo "orvl.exe $args:"
  # shellcheck disable=SC2086
  time (wine "$ROOT/build/win/orvl.exe" $args >/dev/null 2>&1)
done
