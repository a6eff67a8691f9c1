#!/bin/sh
# Builds the fuzzers with clang (build/fuzz, a project of its own: fuzz/CMakeLists.txt) and runs
# each for a bounded time. Findings (crash-*, leak-*, timeout-*) land in build/fuzz/findings;
# the corpora grow in build/fuzz/corpus/<target>, seeded from the committed fuzz/corpus/<target>.
#   tools/fuzz.sh                  every target, 30 s each
#   FUZZ_SECONDS=120 tools/fuzz.sh fuzz_number
set -eu
cd "$(dirname "$0")/.."
SECONDS_EACH="${FUZZ_SECONDS:-30}"
BUILD=build/fuzz
cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" >/dev/null
cmake --build "$BUILD" -j "${JOBS:-2}"

targets="$*"
if [ -z "$targets" ]; then
  targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
fi

mkdir -p "$BUILD/findings"
status=0
for t in $targets; do
  mkdir -p "$BUILD/corpus/$t"
  seeds=""
  if [ -d "fuzz/corpus/$t" ]; then seeds="fuzz/corpus/$t"; fi
  echo "== $t: $SECONDS_EACH s"
  if ! "$BUILD/$t" -max_total_time="$SECONDS_EACH" -print_final_stats=1 -max_len=4096 \
      -artifact_prefix="$BUILD/findings/$t-" "$BUILD/corpus/$t" $seeds >"$BUILD/$t.log" 2>&1; then
    echo "!! $t found a fault; see $BUILD/$t.log and $BUILD/findings/"
    grep -m1 -E "invariant failed|ERROR: |runtime error" "$BUILD/$t.log" || true
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$BUILD/$t.log" | tr '\n' ' '
  echo
done
exit $status
