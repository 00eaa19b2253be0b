#!/usr/bin/env bash
# Fuzzes on every core for a chosen time and keeps what it finds:
#   tests/fuzz/fuzz-all-cores.sh [SECONDS]        (default 3600)
# The corpus grows in build/fuzz-corpus (seeded from tests/fuzz/corpus and kept
# from one session to the next); an input that crashes, hangs, leaks or runs out
# of memory lands in build/fuzz-findings, and fuzzing goes on. Replay one with
#   build/fuzz/orvl_fuzz build/fuzz-findings/FILE
# The driver is built in build/fuzz, under the same sanitizers as build/asan
# but optimised (-O1): eight times the runs a second of the unoptimised one.
set -eu

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
cd "$ROOT"
SECONDS_TO_RUN="${1:-3600}"
CORES="$(nproc)"
CORPUS=build/fuzz-corpus
FINDINGS=build/fuzz-findings
FUZZ=build/fuzz/orvl_fuzz

if [ ! -f build/fuzz/CMakeCache.txt ]; then
  GENERATOR=()
  command -v ninja >/dev/null && GENERATOR=(-G Ninja)
  cmake -S . -B build/fuzz "${GENERATOR[@]}" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined \
-fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS -Wno-unknown-warning-option" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O1 -gline-tables-only" >/dev/null
fi
cmake --build build/fuzz -j"$CORES" --target orvl_fuzz >/dev/null
mkdir -p "$CORPUS" "$FINDINGS"
cp -n tests/fuzz/corpus/* "$CORPUS"/
"$FUZZ" --dictionary >build/fuzz/orvl_fuzz.dict

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
echo "fuzz-all-cores: $CORES processes for $SECONDS_TO_RUN s; findings in $FINDINGS"
# One worker a core, each run in jobs whose new inputs are merged into the corpus.
exec "$FUZZ" -fork="$CORES" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -max_total_time="$SECONDS_TO_RUN" -max_len=8192 -len_control=0 \
  -dict=build/fuzz/orvl_fuzz.dict -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$FINDINGS/" "$CORPUS"
