#!/bin/sh
# Builds (if needed) and runs the trace tool: a key script typed into one control, one line per
# stroke with the window text, caret or selection, the parent's notifications and refusals.
#   tools/trace.sh --control character --mask '(###) ###-####' --keys '5551234567{Back}'
#   tools/trace.sh --windows ...   the same, built for Windows and run under Wine
# Options: --control character|field|number  --mask M  --prompt C  --overwrite  --limit N (field)
#          --text T (initial text)  --clipboard T (before the first key; empty without it)
#          --locale NAME  --keys SCRIPT (the key-script language)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
preset=native
locale=""
prev=""
for arg in "$@"; do
  [ "$arg" = --windows ] && preset=windows
  [ "$prev" = --locale ] && locale=$arg
  prev=$arg
done
jobs="${KW_JOBS:-$(nproc 2>/dev/null || echo 2)}"
# What the build needs, installed when missing (the native build is the demo's).
if [ "$preset" = windows ]; then "$root/tools/setup.sh" windows; else "$root/tools/setup.sh" demo; fi
build() {
  if [ ! -f "$root/build/$preset/CMakeCache.txt" ]; then
    (cd "$root" && cmake --preset "$preset" >/dev/null)
  fi
  (cd "$root" && cmake --build --preset "$preset" --target kwtrace -j "$jobs" >/dev/null) || {
    echo "trace.sh: building kwtrace ($preset) failed; run: cmake --build --preset $preset --target kwtrace" >&2
    exit 1
  }
}
build
# Every argument but --windows goes to the program, in order.
first=1
for arg in "$@"; do
  if [ "$first" = 1 ]; then set --; first=0; fi
  [ "$arg" = --windows ] || set -- "$@" "$arg"
done
[ "$first" = 1 ] && set --
if [ "$preset" = windows ]; then
  # The locale separators come from Wine's locale, which it takes from LC_ALL.
  if [ -n "$locale" ]; then export LC_ALL="$locale"; fi
  exec "$root/tools/wine-run.sh" "$root/build/windows/bin/kwtrace.exe" "$@"
fi
exec "$root/build/native/bin/kwtrace" "$@"
