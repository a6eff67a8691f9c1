#!/bin/sh
# Builds the fuzzers with clang (build/fuzz, a project of its own: fuzz/CMakeLists.txt) and runs
# each for a bounded time. Findings (crash-*, leak-*, timeout-*) land in build/fuzz/findings;
# the corpora grow in build/fuzz/corpus/<target>, seeded from the committed fuzz/corpus/<target>.
#   tools/fuzz.sh                  every target, 30 s each
#   FUZZ_SECONDS=120 tools/fuzz.sh fuzz_number
#   FUZZ_RUNS=10000000 tools/fuzz.sh fuzz_field    a campaign step: that many executions, however
#                                  long they take (a campaign adds up such steps; the corpus
#                                  carries over from one to the next)
# FUZZ_DIR puts the corpora and findings elsewhere (default build/fuzz), for a campaign that
# outlives the work tree.
set -eu
cd "$(dirname "$0")/.."
SECONDS_EACH="${FUZZ_SECONDS:-30}"
RUNS="${FUZZ_RUNS:-}"
BUILD=build/fuzz
OUT="${FUZZ_DIR:-$BUILD}"
cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" >/dev/null
cmake --build "$BUILD" -j "${JOBS:-2}"

targets="$*"
if [ -z "$targets" ]; then
  targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi

mkdir -p "$OUT/findings"
status=0
for t in $targets; do
  mkdir -p "$OUT/corpus/$t"
  seeds=""
  if [ -d "fuzz/corpus/$t" ]; then seeds="fuzz/corpus/$t"; fi
  if [ -n "$RUNS" ]; then
    echo "== $t: $RUNS executions"
    bound="-runs=$RUNS"
  else
    echo "== $t: $SECONDS_EACH s"
    bound="-max_total_time=$SECONDS_EACH"
  fi
  log="$OUT/$t.log"
  if ! "$BUILD/$t" "$bound" -print_final_stats=1 -max_len=4096 \
      -artifact_prefix="$OUT/findings/$t-" "$OUT/corpus/$t" $seeds >"$log" 2>&1; then
    echo "!! $t found a fault; see $log and $OUT/findings/"
    grep -m1 -E "invariant failed|ERROR: |runtime error" "$log" || true
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$log" | tr '\n' ' '
  echo
done
exit $status
