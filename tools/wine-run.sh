#!/bin/sh
# Runs one Windows test executable under Wine: WINEDEBUG=-all, one Wine prefix kept between
# runs (initialised once, under a lock, since the first start is slow), and an X display from
# xvfb-run when none is set. Exits with the executable's status.
#   tools/wine-run.sh build/windows/tests/platform_tests.exe [gtest arguments...]
set -eu

if [ $# -lt 1 ]; then
  echo "usage: $0 program.exe [arguments...]" >&2
  exit 2
fi

# One X server for the run: start one with xvfb-run unless a display is already there.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
export WINEPREFIX="${KW_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/kwmaskedit/wine}"
# No Mono or Gecko installer dialogs, no desktop menu entries.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

wine=wine
if command -v wine64 >/dev/null 2>&1; then
  wine=wine64
elif [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
fi

mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine-run: initialising the Wine prefix $WINEPREFIX (once; this takes a while)" >&2
      "$wine" wineboot --init >/dev/null 2>&1 || true
      wineserver -w 2>/dev/null || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi

exec "$wine" "$@"
