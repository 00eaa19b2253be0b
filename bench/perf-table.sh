#!/usr/bin/env bash
# The performance table: whole runs of orvl.exe under wine, output redirected
# to a file, each row timed against a baseline in alternating pairs
# (A B, B A, A B ...) in one run, reporting the median of the per-pair ratios (the
# machine is shared and noisy), the range of those ratios and the median peak
# resident memory of each side. The baseline is bench/BareFindLoop.cpp, a bare
# find-first loop: the floor for any lister; bench/ParallelFindLoop.cpp, the
# same reads on one thread per processor without printing, is the floor for a
# walk that reads ahead. Instructions per entry come from
# callgrind on the simulated platform when valgrind is installed.
# With -o, the rows that matter for a change of the lister itself are paired
# against an earlier build's orvl.exe instead, on names of varied length and on a
# tree where a few folders hold most files (bench/make-fixtures.py).
# Run by hand, never as a test:
#   bench/perf-table.sh [-n PAIRS] [-d DIR_PAIRS] [-c COUNT] [-r PATTERN] [-o OLD_EXE]
#   -n  pairs per row (default 7; the empty-directory row makes three times as many)
#   -d  pairs for the row against the command interpreter's dir, which is slow (default 3)
#   -c  files in the flat fixture (default 100000; the tree gets twice as many in
#       COUNT/20 directories); -c 10000 keeps runs short while developing
#   -r  only the rows whose label matches the extended regular expression
#   -o  an earlier build's orvl.exe: the old-against-new rows in place of the table
# Fixtures are made once in ${TMPDIR:-/tmp}/orvl-bench-COUNT and kept.
set -eu

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PAIRS=7
DIR_PAIRS=3
COUNT=100000
ROWS="."
OLD=""
while getopts "n:d:c:r:o:" option; do
  case $option in
  n) PAIRS=$OPTARG ;;
  d) DIR_PAIRS=$OPTARG ;;
  c) COUNT=$OPTARG ;;
  r) ROWS=$OPTARG ;;
  o) OLD=$(realpath "$OPTARG") ;;
  *) sed -n '14,21p' "$0" >&2 && exit 2 ;;
  esac
done

FIXTURES="${TMPDIR:-/tmp}/orvl-bench-$COUNT"
OUT="$FIXTURES/out.txt"
MEMORY="$FIXTURES/memory.txt"
ORVL="$ROOT/build/win/orvl.exe"
BARE="$ROOT/build/win/orvl_bare.exe"
PARALLEL="$ROOT/build/win/orvl_par.exe"
LOG="$(mktemp "${TMPDIR:-/tmp}/orvl-perf.XXXXXX")"
trap 'rm -f "$LOG"' EXIT

say() { echo "perf-table: $*" >&2; }

# ---------------------------------------------------------------- building

build_targets() {
  local dir="$1" targets="$2"
  shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >>"$LOG" 2>&1 ||
      { cat "$LOG" >&2 && exit 1; }
  fi
  # shellcheck disable=SC2086
  cmake --build "$dir" -j2 --target $targets >>"$LOG" 2>&1 || { cat "$LOG" >&2 && exit 1; }
}

build_all() {
  say "building ..."
  build_targets "$ROOT/build/win" "orvl orvl_bare orvl_par" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake"
  if command -v valgrind >/dev/null; then
    build_targets "$ROOT/build/native" orvl_bench
  fi
}

# ---------------------------------------------------------------- running

export WINEPREFIX="$ROOT/build/wineprefix" WINEDEBUG=-all
unset DISPLAY

# The commands a row names: "bare ...", "par ...", "orvl ...", "old ..." (the
# build given with -o) and "dir" (the command interpreter's own), turned into the
# wine command line in COMMAND. A leading "1cpu" runs it as on one processor,
# so a walk reads without workers.
resolve() {
  local words prefix=()
  read -ra words <<<"$1"
  if [ "${words[0]}" = 1cpu ]; then
    prefix=(env ORVL_PROCESSORS=1)
    words=("${words[@]:1}")
  fi
  case ${words[0]} in
  bare) COMMAND=(wine "$BARE" "${words[@]:1}") ;;
  par) COMMAND=(wine "$PARALLEL" "${words[@]:1}") ;;
  orvl) COMMAND=(wine "$ORVL" "${words[@]:1}") ;;
  old) COMMAND=(wine "$OLD" "${words[@]:1}") ;;
  dir) COMMAND=(wine cmd /c dir) ;;
  esac
  COMMAND=("${prefix[@]}" "${COMMAND[@]}")
}

# Runs "COMMAND ARGS..." in a directory, output to $OUT; prints the seconds
# and the peak resident KiB of the process (the wineserver is started beforehand,
# so the only process measured is the program's own).
measure() {
  local dir="$1" start end kib=0
  shift
  cd "$dir"
  start=$EPOCHREALTIME
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f %M -o "$MEMORY" "$@" >"$OUT" 2>/dev/null </dev/null
    end=$EPOCHREALTIME
    kib=$(tail -n 1 "$MEMORY")
  else
    "$@" >"$OUT" 2>/dev/null </dev/null
    end=$EPOCHREALTIME
  fi
  echo "$start $end $kib"
}

# pair_row LABEL DIRECTORY PAIRS "A COMMAND" "B COMMAND": one table row.
pair_row() {
  local label="$1" dir="$2" pairs="$3" a="$4" b="$5" i samples=""
  grep -Eq -- "$ROWS" <<<"$label" || return 0
  say "$label: $pairs pairs of ($a) and ($b)"
  # One untimed run of each first: every row starts warm, whatever ran before.
  resolve "$a"
  measure "$dir" "${COMMAND[@]}" >/dev/null
  resolve "$b"
  measure "$dir" "${COMMAND[@]}" >/dev/null
  # A then B, then B then A: whatever a place in the pair costs (coming after
  # a large output file, say), each side pays it as often.
  local first second timed_a timed_b
  resolve "$a"
  first=("${COMMAND[@]}")
  resolve "$b"
  second=("${COMMAND[@]}")
  for ((i = 0; i < pairs; i++)); do
    if ((i % 2 == 0)); then
      timed_a="$(measure "$dir" "${first[@]}")"
      timed_b="$(measure "$dir" "${second[@]}")"
    else
      timed_b="$(measure "$dir" "${second[@]}")"
      timed_a="$(measure "$dir" "${first[@]}")"
    fi
    samples+="$timed_a $timed_b"$'\n'
  done
  printf '%s' "$samples" | awk -v label="$label" '
    function median(values, count,   sorted, i, j, swap) {
      for (i = 1; i <= count; i++) sorted[i] = values[i]
      for (i = 2; i <= count; i++)
        for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) {
          swap = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = swap
        }
      return count % 2 ? sorted[(count + 1) / 2] : (sorted[count / 2] + sorted[count / 2 + 1]) / 2
    }
    NF == 6 {
      n++
      a[n] = $2 - $1; b[n] = $5 - $4; ka[n] = $3; kb[n] = $6
      ratio[n] = b[n] / a[n]
      if (n == 1 || ratio[n] < low) low = ratio[n]
      if (n == 1 || ratio[n] > high) high = ratio[n]
    }
    END {
      printf "| %s | %.3f s | %.3f s | %.2fx (%.2f-%.2f) | %.1f / %.1f MiB |\n", label,
        median(a, n), median(b, n), median(ratio, n), low, high,
        median(ka, n) / 1024, median(kb, n) / 1024
    }'
}

wine_rows() {
  local flat="$FIXTURES/flat" tree="$FIXTURES/tree" empty="$FIXTURES/empty"
  # A server that outlives each run keeps its start-up out of the timings;
  # it ends by itself a minute after the last run.
  wineserver -p60 2>/dev/null || true
  say "warming up wine and the file cache ..."
  measure "$flat" wine "$BARE" >/dev/null
  measure "$tree" wine "$BARE" /S >/dev/null
  measure "$flat" wine "$ORVL" >/dev/null

  echo "| work | A: median | B: median | B/A: median (range) | peak memory A / B |"
  echo "|---|---|---|---|---|"
  pair_row "flat $COUNT, default layout (A bare loop)" "$flat" "$PAIRS" "bare" "orvl"
  pair_row "flat $COUNT, /V (A bare loop)" "$flat" "$PAIRS" "bare" "orvl /V"
  pair_row "tree $((2 * COUNT)), /S /B (A bare loop /S)" "$tree" "$PAIRS" "bare /S" "orvl /S /B"
  pair_row "tree $((2 * COUNT)), /S (A bare loop /S)" "$tree" "$PAIRS" "bare /S" "orvl /S"
  pair_row "tree $((2 * COUNT)), /TREE (A bare loop /S /Q, no printing)" "$tree" "$PAIRS" "bare /S /Q" "orvl /TREE"
  pair_row "tree $((2 * COUNT)), parallel bare loop (A bare loop /S /Q)" "$tree" "$PAIRS" "bare /S /Q" "par"
  pair_row "tree $((2 * COUNT)), /S /B (A parallel bare loop)" "$tree" "$PAIRS" "par" "orvl /S /B"
  pair_row "tree $((2 * COUNT)), /S (A parallel bare loop)" "$tree" "$PAIRS" "par" "orvl /S"
  pair_row "tree $((2 * COUNT)), /TREE (A parallel bare loop)" "$tree" "$PAIRS" "par" "orvl /TREE"
  pair_row "empty directory, start-up (A bare loop)" "$empty" "$((3 * PAIRS))" "bare" "orvl"
  pair_row "flat $COUNT, /B /K32767 (A /B)" "$flat" "$PAIRS" "orvl /B" "orvl /B /K32767"
  pair_row "flat $COUNT, the interpreter's dir (A default layout)" "$flat" "$DIR_PAIRS" "orvl" "dir"
}

# The same work by an earlier build (A) and this one (B).
old_rows() {
  local varied="$FIXTURES/varied" skewed="$FIXTURES/skewed" tree="$FIXTURES/tree"
  wineserver -p60 2>/dev/null || true
  say "warming up wine and the file cache ..."
  measure "$varied" wine "$OLD" >/dev/null
  measure "$skewed" wine "$OLD" /S >/dev/null
  measure "$tree" wine "$OLD" /S >/dev/null

  echo "| work | A: $(basename "$OLD") | B: this build | B/A: median (range) | peak memory A / B |"
  echo "|---|---|---|---|---|"
  pair_row "flat $COUNT, default layout" "$FIXTURES/flat" "$PAIRS" "old" "orvl"
  pair_row "varied names $COUNT, default layout" "$varied" "$PAIRS" "old" "orvl"
  pair_row "varied names $COUNT, /V" "$varied" "$PAIRS" "old /V" "orvl /V"
  pair_row "skewed tree $((2 * COUNT)), /S without workers" "$skewed" "$PAIRS" "1cpu old /S" "1cpu orvl /S"
  pair_row "uniform tree $((2 * COUNT)), /S without workers" "$tree" "$PAIRS" "1cpu old /S" "1cpu orvl /S"
}

# ---------------------------------------------------------------- instructions

# Instructions inside the run function only, for ENTRIES simulated entries.
collected_instructions() {
  local entries="$1"
  shift
  valgrind --tool=callgrind --toggle-collect='RunOrvl*' --callgrind-out-file=/dev/null \
    "$ROOT/build/native/orvl_bench" "$entries" "$@" 2>&1 >/dev/null |
    awk '/Collected :/ { print $NF }'
}

# Per entry: the run over COUNT entries less the run over none, so the fixed
# costs of a run (start-up, header, totals) do not count.
instruction_row() {
  local label="$1" full empty
  shift
  grep -Eq -- "$ROWS" <<<"$label" || return 0
  say "$label: callgrind over $COUNT simulated entries ..."
  full=$(collected_instructions "$COUNT" "$@")
  empty=$(collected_instructions 0 "$@")
  echo "| $label | $(((full - empty) / COUNT)) instructions per entry | ($full - $empty) / $COUNT |"
}

instruction_rows() {
  if ! command -v valgrind >/dev/null; then
    say "valgrind is not installed: no instruction counts"
    return
  fi
  echo
  echo "| simulated platform, $COUNT entries | per entry | instructions of the run function |"
  echo "|---|---|---|"
  instruction_row "default layout (sort included)"
  instruction_row "/V" /V
}

build_all
say "fixtures in $FIXTURES ..."
python3 "$ROOT/bench/make-fixtures.py" "$FIXTURES" "$COUNT"
if [ -n "$OLD" ]; then
  old_rows
else
  wine_rows
fi
instruction_rows
