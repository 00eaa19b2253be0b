#!/usr/bin/env bash
# Times /R and description loading under wine, output redirected:
# - a directory of 100,000 files listed with and without /R, in alternating
#   pairs (the machine is shared and noisy), the ratio per pair;
# - a directory holding a DESCRIPT.ION of 100,000 lines listed with /Z
#   against the same listing of a directory without one.
# Run by hand after ./orvl has built the program: bench/wine-regex-descriptions.sh [pairs]
set -eu
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PAIRS="${1:-5}"
BIG="${TMPDIR:-/tmp}/orvl-regex-bench-100000"
DESC="${TMPDIR:-/tmp}/orvl-descriptions-bench"
PLAIN="${TMPDIR:-/tmp}/orvl-descriptions-bench-none"
if [ ! -d "$BIG" ]; then
  mkdir -p "$BIG"
  (cd "$BIG" && seq -f "file%06g.txt" 1 100000 | xargs touch)
fi
for dir in "$DESC" "$PLAIN"; do
  [ -d "$dir" ] || { mkdir -p "$dir" && (cd "$dir" && seq -f "f%03g.txt" 1 100 | xargs touch); }
done
[ -f "$DESC/DESCRIPT.ION" ] ||
  seq -f "file%06g.txt a description of this file, long enough to be typical" 1 100000 |
  sed 's/$/\r/' >"$DESC/DESCRIPT.ION"
export WINEPREFIX="${WINEPREFIX:-$ROOT/build/wineprefix}" WINEDEBUG=-all
unset DISPLAY
EXE="$ROOT/build/win/orvl.exe"
wine cmd /c exit >/dev/null 2>&1  # the prefix and server start outside the timings

seconds() {  # seconds of one run: directory, then arguments
  local dir="$1"
  shift
  local start end
  start=$(date +%s.%N)
  (cd "$dir" && wine "$EXE" "$@" >/dev/null 2>&1)
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

echo "pair  plain  /R  ratio   |  /Z without  /Z with  difference"
for pair in $(seq 1 "$PAIRS"); do
  plain=$(seconds "$BIG" "*.txt")
  regex=$(seconds "$BIG" "*.txt" /R)
  without=$(seconds "$PLAIN" /Z)
  with=$(seconds "$DESC" /Z)
  printf "%4d  %5.2f  %5.2f  %5.3f  |  %5.2f  %5.2f  %6.3f\n" "$pair" "$plain" "$regex" \
    "$(echo "$regex / $plain" | bc -l)" "$without" "$with" "$(echo "$with - $without" | bc -l)"
done
