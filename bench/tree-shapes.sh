#!/usr/bin/env bash
# The walks against the parallel bare loop (bench/ParallelFindLoop.cpp) on both
# tree shapes bench/make-fixtures.py makes: "tree", where every folder holds 40
# files, and "skewed", where a few folders hold most of them. Alternating pairs
# in one run; the median ratio, its range and the median peak memory per row.
# Output goes to /dev/null: under wine a file the shell opened cannot be named,
# and the walk then reads every folder itself (see Engine/Walk/WrittenFolders.h).
# Run by hand: bench/tree-shapes.sh [pairs] [count]   (fixtures as perf-table.sh)
set -eu
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PAIRS="${1:-7}"
COUNT="${2:-100000}"
FIXTURES="${TMPDIR:-/tmp}/orvl-bench-$COUNT"
BIN="${ORVL_BENCH_BIN:-$ROOT/build/win}"
MEMORY="$(mktemp)"
trap 'rm -f "$MEMORY"' EXIT
[ -f "$FIXTURES/ready-skewed" ] || python3 "$ROOT/bench/make-fixtures.py" "$FIXTURES" "$COUNT"
[ -n "${ORVL_BENCH_BIN:-}" ] ||
  cmake --build "$ROOT/build/win" -j2 --target orvl orvl_par >/dev/null
export WINEPREFIX="${WINEPREFIX:-$ROOT/build/wineprefix}" WINEDEBUG=-all
unset DISPLAY
wineserver -p60 2>/dev/null || true

# "seconds KiB" of one run.
measure() {
  local start end
  start=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$MEMORY" wine "$@" >/dev/null 2>&1 </dev/null
  end=$EPOCHREALTIME
  echo "$(echo "$end - $start" | bc) $(tail -n 1 "$MEMORY")"
}

row() {
  local shape="$1" i samples=""
  shift
  cd "$FIXTURES/$shape"
  measure "$BIN/orvl_par.exe" >/dev/null
  measure "$BIN/orvl.exe" "$@" >/dev/null
  # Each side goes second in half the pairs, so a place's cost falls on both alike.
  local par walk
  for ((i = 0; i < PAIRS; i++)); do
    if ((i % 2 == 0)); then
      par="$(measure "$BIN/orvl_par.exe")"
      walk="$(measure "$BIN/orvl.exe" "$@")"
    else
      walk="$(measure "$BIN/orvl.exe" "$@")"
      par="$(measure "$BIN/orvl_par.exe")"
    fi
    samples+="$par $walk"$'\n'
  done
  printf '%s' "$samples" | awk -v label="$shape, orvl $*" '
    function median(v, n,   s, i, j, t) {
      for (i = 1; i <= n; i++) s[i] = v[i]
      for (i = 2; i <= n; i++) for (j = i; j > 1 && s[j - 1] > s[j]; j--) { t = s[j]; s[j] = s[j - 1]; s[j - 1] = t }
      return n % 2 ? s[(n + 1) / 2] : (s[n / 2] + s[n / 2 + 1]) / 2
    }
    NF == 4 { n++; a[n] = $1; b[n] = $3; r[n] = $3 / $1; ka[n] = $2; kb[n] = $4
              if (n == 1 || r[n] < lo) lo = r[n]; if (n == 1 || r[n] > hi) hi = r[n] }
    END { printf "| %s | %.2f s | %.2f s | %.2fx (%.2f-%.2f) | %.1f / %.1f MiB |\n", label,
          median(a, n), median(b, n), median(r, n), lo, hi, median(ka, n) / 1024, median(kb, n) / 1024 }'
}

echo "| work | parallel loop | orvl | orvl / parallel: median (range) | peak memory |"
echo "|---|---|---|---|---|"
for shape in tree skewed; do
  row "$shape" /S /B
  row "$shape" /S
  row "$shape" /TREE
done
