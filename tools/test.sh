#!/bin/sh
# Builds and runs the test suites: the native build over the simulated window system, the same
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows build under Wine.
#   tools/test.sh                 # all three
#   tools/test.sh native windows  # a choice of: native asan windows
# KW_JOBS sets the build parallelism (default: the number of processors).
set -eu
cd "$(dirname "$0")/.."

presets="${*:-native asan windows}"
jobs="${KW_JOBS:-$(nproc 2>/dev/null || echo 2)}"
# Leak checking stays on; a failure of any check stops the run with a report.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=""
for preset in $presets; do
  case "$preset" in
    native | asan | windows) ;;
    *) echo "test.sh: unknown build '$preset' (native, asan, windows)" >&2; exit 2 ;;
  esac
  echo "==== $preset: configure and build"
  start=$(date +%s)
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "==== $preset: test"
  if ! ctest --preset "$preset"; then
    failed="$failed $preset"
  fi
  echo "==== $preset: done in $(( $(date +%s) - start )) s"
done

if [ -n "$failed" ]; then
  echo "FAILED:$failed" >&2
  exit 1
fi
echo "All suites passed: $presets"
