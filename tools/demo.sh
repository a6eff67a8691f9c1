#!/bin/sh
# Installs what the demo needs (tools/setup.sh demo), builds the demo natively (over the
# simulated window system) and runs it: on a terminal the interactive demo (kwterminal: type
# into the form; F1 keys, F10 quits); with --script, or when the output is not a terminal, the
# scripted transcript (kwdemo), which checks every step.
# With --windows it builds the demo as a Windows dialog (kwdialog.exe: a dialog template naming
# the window classes of KwMaskEdit.dll, a program in C) and runs it under Wine on the X display;
# without a display it runs it under Xvfb, types a sample into it and prints what each control
# shows.
#   tools/demo.sh            # interactive
#   tools/demo.sh --script   # the transcript
#   tools/demo.sh --windows  # the Windows dialog under Wine
set -eu
cd "$(dirname "$0")/.."
if [ "${1:-}" = --windows ]; then
  tools/setup.sh windows
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target kwdialog -j "${KW_JOBS:-$(nproc 2>/dev/null || echo 2)}"
  if [ -n "${DISPLAY:-}" ]; then
    echo "demo.sh: the demo dialog runs under Wine; OK or Cancel ends it" >&2
    exec tools/wine-run.sh build/windows/bin/kwdialog.exe
  fi
  echo "demo.sh: no X display: the dialog runs under Xvfb with a sample typed into it" >&2
  exec tools/wine-run.sh build/windows/bin/kwdialog.exe \
    --keys '5551234567abc202600421234567.89{Tab}13452026' --exit
fi
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
