#!/usr/bin/env bash
# Times orvl.exe /TREE under wine over a real tree of 5,000 directories and
# 200,000 files, output redirected, against a bare recursive find-first loop
# (bench/BareFindLoop.cpp with /S) over the same tree, in alternating pairs.
# Run by hand: bench/wine-tree.sh [pairs]   (builds both programs in build/win)
set -eu
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PAIRS="${1:-5}"
DIR="${TMPDIR:-/tmp}/orvl-bench-tree"
if [ ! -d "$DIR" ]; then
  # 50 directories of 99 subdirectories each: 5,000 with the top ones, 40 files in each.
  mkdir -p "$DIR"
  for top in $(seq -w 1 50); do
    for sub in $(seq -w 0 99); do
      [ "$sub" = 00 ] && d="$DIR/T$top" || d="$DIR/T$top/S$sub"
      mkdir -p "$d"
      (cd "$d" && seq -f "file%02g.dat" 1 40 | xargs touch)
    done
  done
fi
cmake --build "$ROOT/build/win" -j2 --target orvl orvl_bare >/dev/null
export WINEPREFIX="$ROOT/build/wineprefix" WINEDEBUG=-all
unset DISPLAY
cd "$DIR"
wine cmd /c exit >/dev/null 2>&1  # creates the prefix and starts the server outside the timings
seconds() { local s; s=$(date +%s.%N); "$@" >/dev/null 2>&1; echo "$(date +%s.%N) - $s" | bc; }
loop=0
tree=0
for i in $(seq 1 "$PAIRS"); do
  l=$(seconds wine "$ROOT/build/win/orvl_bare.exe" /S .)
  t=$(seconds wine "$ROOT/build/win/orvl.exe" /TREE)
  echo "pair $i: loop $l s, orvl /TREE $t s"
  loop=$(echo "$loop + $l" | bc)
  tree=$(echo "$tree + $t" | bc)
done
echo "ratio orvl /TREE / bare loop: $(echo "scale=3; $tree / $loop" | bc)"
