#!/bin/sh
# Keeps every C and C++ source of the repository in the style of .clang-format.
#   tools/format.sh          # rewrites the files in place
#   tools/format.sh --check  # lists the files that differ and fails when any does
set -eu
cd "$(dirname "$0")/.."

files=$(git ls-files | grep -E '\.(h|hpp|c|cc|cpp)$' || true)
[ -n "$files" ] || exit 0
if ! command -v clang-format >/dev/null 2>&1; then
  echo "format.sh: clang-format is not installed (apt-get install clang-format)" >&2
  exit 1
fi

if [ "${1:-}" = "--check" ]; then
  bad=""
  for f in $files; do
    if ! clang-format --style=file "$f" | cmp -s - "$f"; then bad="$bad $f"; fi
  done
  if [ -n "$bad" ]; then
    echo "format.sh: not in the project's style (run tools/format.sh):" >&2
    for f in $bad; do echo "  $f" >&2; done
    exit 1
  fi
  echo "format.sh: $(echo "$files" | wc -l) files in style"
else
  clang-format -i --style=file $files
fi
