#!/bin/sh
# Builds the optimised benchmark build (preset "bench", build/bench) and runs the benchmarks.
# Arguments go to the benchmark executable, e.g. --benchmark_filter=Type
#   tools/bench.sh                       all benchmarks
#   JOBS=1 tools/bench.sh --benchmark_repetitions=3
set -eu
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench --target kw_bench -j "${JOBS:-2}"
exec build/bench/bin/kw_bench "$@"
