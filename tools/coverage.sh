#!/bin/sh
# Builds the native suites with clang's source-based coverage (build/coverage), runs them through
# ctest, and prints the line and branch coverage of each file of the library (core/, character/,
# field/, number/, validation/) and their total.
#   tools/coverage.sh                 the table
#   tools/coverage.sh --show FILE...  also the annotated source of these files (uncovered lines
#                                     and branches marked), e.g. tools/coverage.sh --show core/KwMaskedEdit.cpp
# The merged profile stays in build/coverage/coverage.profdata; the table also in
# build/coverage/coverage.txt. KW_JOBS sets the build parallelism (default 2). The interactive
# terminal demo (tmux, slow) is left out: it types what the demo and trace tests type.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh coverage

show=""
if [ "${1:-}" = "--show" ]; then
  shift
  show="$*"
fi

BUILD=build/coverage
jobs="${KW_JOBS:-2}"
flags="-fprofile-instr-generate -fcoverage-mapping"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$BUILD" -j "$jobs"

# One raw profile per process and module; earlier runs' profiles are dropped first. The check of
# the shared library's exports is left out: the instrumented build exports the profile runtime's
# symbols and the standard templates it keeps out of line.
rm -rf "$BUILD/profiles"
mkdir -p "$BUILD/profiles"
status=0
(cd "$BUILD" && LLVM_PROFILE_FILE="$PWD/profiles/%p-%m.profraw" \
  ctest -j "$jobs" --output-on-failure -E '^(terminal_demo|library_exports)$') || status=$?
[ "$status" -eq 0 ] || echo "coverage.sh: some tests failed; the figures below are from the rest" >&2

llvm-profdata-14 merge -sparse -o "$BUILD/coverage.profdata" "$BUILD"/profiles/*.profraw

# Every executable and shared library of the build; llvm-cov joins what they cover.
objects=""
for f in "$BUILD"/bin/*; do
  [ -f "$f" ] && [ ! -L "$f" ] && [ -x "$f" ] || continue
  if [ -z "$objects" ]; then objects="$f"; else objects="$objects -object $f"; fi
done

sources="core character field number validation"
# shellcheck disable=SC2086 # lists of objects and folders
llvm-cov-14 report $objects -instr-profile="$BUILD/coverage.profdata" \
  --show-branch-summary --show-region-summary=false --show-functions=false \
  $sources | sed "s|$PWD/||" | tee "$BUILD/coverage.txt"
if [ -n "$show" ]; then
  # shellcheck disable=SC2086
  llvm-cov-14 show $objects -instr-profile="$BUILD/coverage.profdata" \
    --show-branches=count --show-line-counts-or-regions $show
fi
exit $status
