#!/usr/bin/env bash
# What ./orvl costs over running the program under wine directly:
#   bench/wrapper-bench.sh [pairs]      (default 60)
# Lists a small folder with /B, output to a pipe, alternating the two sides
# in one run with the same wine prefix, and prints each side's median and
# the ratio of the medians (the target is at most 1.2). Then times ./orvl
# after 10 s and after 60 s without a run (three times each): the wine server
# it keeps should spare these runs the seconds of starting it again.
set -eu
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PAIRS="${1:-60}"
DIR="$(mktemp -d "${TMPDIR:-/tmp}/orvl-bench.XXXXXX")"
trap 'rm -rf "$DIR"' EXIT
touch "$DIR"/{alpha.txt,beta.h,gamma.h,delta.c}
cd "$DIR"
"$ROOT/orvl" /B >/dev/null  # builds and prepares the prefix once, untimed
export WINEPREFIX="${ORVL_WINEPREFIX:-$ROOT/build/wineprefix}" WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
# A wine server that has just started is still starting its own services
# for a second or two: let them settle before timing.
for ((i = 0; i < 10; i++)); do wine "$ROOT/build/win/orvl.exe" /B >/dev/null; done

milliseconds() {
  local start end
  start=$(date +%s%N)
  "$@" | cat >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

wrapper=() direct=()
for ((i = 0; i < PAIRS; i++)); do
  wrapper+=("$(milliseconds "$ROOT/orvl" /B)")
  direct+=("$(milliseconds wine "$ROOT/build/win/orvl.exe" /B)")
done
w=$(printf '%s\n' "${wrapper[@]}" | median)
d=$(printf '%s\n' "${direct[@]}" | median)
echo "pairs $PAIRS: ./orvl /B median $w ms, wine orvl.exe /B median $d ms, ratio $(awk "BEGIN { printf \"%.2f\", $w / $d }")"

for idle in 10 60; do
  after=()
  for ((i = 0; i < 3; i++)); do
    sleep "$idle"
    after+=("$(milliseconds "$ROOT/orvl" /B) ms")
  done
  printf -v list '%s, ' "${after[@]}"
  echo "./orvl /B after $idle s idle: ${list%, }"
done
