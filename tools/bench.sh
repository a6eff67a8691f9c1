#!/bin/sh
# Builds the optimised benchmark build (preset "bench", build/bench) and runs the benchmarks.
#   tools/bench.sh [args]        Google Benchmark (kw_bench); args go to it, e.g.
#                                --benchmark_filter=Type
#   tools/bench.sh --keys        the self-timed keystroke benchmark (kw_keys) once
#   tools/bench.sh --vs-qt       kw_keys and the Qt peer benchmark, REPS processes each,
#                                alternating, in one run (with Wine: KW_WINE=1), then the ratio
#                                table with its targets; exits 1 when a target is not met
#   tools/bench.sh --windows     kw_keys of the Windows build under Wine, REPS processes
# Environment: REPS (default 5), JOBS (build parallelism, 2), PEERS (the peer benchmark's
# folder, ../shared/peers), PEERS_BUILD (where the peer is built, build/peers; never committed).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
reps="${REPS:-5}"
jobs="${JOBS:-2}"
peers="${PEERS:-$root/../shared/peers}"
peers_build="${PEERS_BUILD:-$root/build/peers}"
out="$root/build/bench-results"
tools/setup.sh bench  # the benchmark library and, for --vs-qt, Qt 5 (only what is missing)

build_native() {
  cmake --preset bench >/dev/null
  cmake --build --preset bench --target kw_bench kw_keys -j "$jobs" >/dev/null
}

build_windows() {
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target kw_keys -j "$jobs" >/dev/null
}

build_qt() {
  if [ ! -f "$peers/qt/qt_mask_bench.cpp" ]; then
    echo "bench.sh: no peer benchmark in $peers/qt" >&2
    exit 2
  fi
  cmake -S "$peers/qt" -B "$peers_build/qt" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$peers_build/qt" -j "$jobs" >/dev/null
}

run_wine() {  # $1: output file
  # The full-field and paste cases need real input (Ctrl for the paste): natively only.
  # A keystroke costs milliseconds under Wine and Xvfb: fewer rounds (WINE_SCALE).
  tools/wine-run.sh build/windows/bin/kw_keys.exe --only ab --scale "${WINE_SCALE:-0.02}" > "$1"
}

case "${1:-}" in
  --keys)
    shift
    build_native
    exec build/bench/bin/kw_keys "$@"
    ;;
  --windows)
    build_windows
    rm -rf "$out/wine" && mkdir -p "$out/wine"
    i=1
    while [ "$i" -le "$reps" ]; do
      run_wine "$out/wine/run$i.tsv"
      i=$((i + 1))
    done
    exec python3 tools/bench-compare.py --wine "$out"/wine/run*.tsv
    ;;
  --vs-qt)
    build_native
    build_qt
    [ "${KW_WINE:-1}" = 1 ] && build_windows
    rm -rf "$out/ours" "$out/qt" "$out/wine"
    mkdir -p "$out/ours" "$out/qt" "$out/wine"
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    i=1
    while [ "$i" -le "$reps" ]; do
      echo "bench.sh: round $i of $reps" >&2
      build/bench/bin/kw_keys > "$out/ours/run$i.tsv"
      "$peers_build/qt/qt_mask_bench" --only abc > "$out/qt/run$i.tsv" 2>/dev/null
      [ "${KW_WINE:-1}" = 1 ] && run_wine "$out/wine/run$i.tsv"
      i=$((i + 1))
    done
    set -- --ours "$out"/ours/run*.tsv --qt "$out"/qt/run*.tsv
    [ "${KW_WINE:-1}" = 1 ] && set -- "$@" --wine "$out"/wine/run*.tsv
    exec python3 tools/bench-compare.py "$@"
    ;;
  *)
    build_native
    exec build/bench/bin/kw_bench "$@"
    ;;
esac
