#!/bin/sh
# Installs what the tests need (tools/setup.sh test), then builds and runs the test suites: the
# style check, the native build over the simulated window system, the same under AddressSanitizer
# and UndefinedBehaviorSanitizer, the native suites under valgrind's memcheck, and the Windows
# build under Wine; then the consumers: the library taken into another project from the native
# and Windows builds (installed and found by find_package, by pkg-config, by add_subdirectory;
# tools/test-consumers.sh).
#   tools/test.sh                 # all of them
#   tools/test.sh native windows  # a choice of: format native asan valgrind windows consumers
# KW_JOBS sets the build parallelism (default: the number of processors).
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh test

presets="${*:-format native asan valgrind windows consumers}"
jobs="${KW_JOBS:-$(nproc 2>/dev/null || echo 2)}"
# Leak checking stays on; a failure of any check stops the run with a report.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

failed=""
for preset in $presets; do
  case "$preset" in
    native | asan | windows) ;;
    format)
      echo "==== format: check"
      tools/format.sh --check || failed="$failed format"
      continue ;;
    valgrind)
      # The native suites once more under memcheck: any error or definite leak fails the suite.
      # Tests driven by a shell script are left out: memcheck would check the shell.
      echo "==== valgrind: build native, run its suites under memcheck"
      start=$(date +%s)
      cmake --preset native >/dev/null
      cmake --build --preset native -j "$jobs"
      if ! (cd build/native && ctest -T memcheck -j "$jobs" --output-on-failure \
              --overwrite MemoryCheckCommand="$(command -v valgrind)" \
              --overwrite "MemoryCheckCommandOptions=--leak-check=full --errors-for-leak-kinds=definite --error-exitcode=1 --track-origins=yes" \
              -E 'library_exports|_vs_|terminal_demo|^trace$'); then
        failed="$failed valgrind"
      fi
      echo "==== valgrind: done in $(( $(date +%s) - start )) s"
      continue ;;
    consumers)
      # From the builds of this run (both when it has neither).
      from=$(for b in $presets; do case "$b" in native | windows) echo "$b" ;; esac; done)
      echo "==== consumers"
      start=$(date +%s)
      # shellcheck disable=SC2086 # a list of builds
      KW_JOBS="$jobs" tools/test-consumers.sh $from || failed="$failed consumers"
      echo "==== consumers: done in $(( $(date +%s) - start )) s"
      continue ;;
    *) echo "test.sh: unknown step '$preset' (format, native, asan, valgrind, windows, consumers)" >&2; exit 2 ;;
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
