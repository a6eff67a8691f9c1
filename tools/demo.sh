#!/bin/sh
# Installs what the demo needs (tools/setup.sh demo), builds the demo natively (over the
# simulated window system) and runs it: on a terminal the interactive demo (kwterminal: type
# into the form; F1 keys, F10 quits); with --script, or when the output is not a terminal, the
# scripted transcript (kwdemo), which checks every step.
#   tools/demo.sh            # interactive
#   tools/demo.sh --script   # the transcript
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh demo
target=kwterminal
if [ "${1:-}" = --script ] || [ ! -t 0 ] || [ ! -t 1 ]; then target=kwdemo; fi
cmake --preset native >/dev/null
jobs="${KW_JOBS:-$(nproc 2>/dev/null || echo 2)}"
if [ "$target" = kwterminal ] && ! cmake --build --preset native --target kwterminal -j "$jobs"; then
  echo "demo.sh: the interactive demo needs ncurses (libncurses-dev); showing the transcript" >&2
  target=kwdemo
fi
[ "$target" = kwdemo ] && cmake --build --preset native --target kwdemo -j "$jobs"
demo=build/native/bin/$target
if [ -x "$demo" ]; then exec "$demo"; fi
echo "demo.sh: $target was not built" >&2
exit 1
