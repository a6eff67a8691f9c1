#!/bin/sh
# Runs one Windows test executable under Wine: WINEDEBUG=-all, one Wine prefix per build kept
# between runs (initialised once, under a lock, since the first start is slow), and an X display
# from xvfb-run when none is set. Exits with the executable's status.
#   tools/wine-run.sh build/windows/bin/platform_tests.exe [gtest arguments...]
set -eu

if [ $# -lt 1 ]; then
  echo "usage: $0 program.exe [arguments...]" >&2
  exit 2
fi

# One X server for the run: start one with xvfb-run unless a display is already there.
if [ -z "${DISPLAY:-}" ]; then
  KW_WINE_OWN_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# A prefix per build directory (the nearest parent of the executable with a CMakeCache.txt):
# Wine processes that share a prefix share one desktop, and suites of two builds run at the same
# time would take each other's keyboard focus.
if [ -z "${KW_WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  if [ -f "$dir/CMakeCache.txt" ]; then
    KW_WINEPREFIX="$dir/wineprefix"
  else
    KW_WINEPREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/kwmaskedit/wine"
  fi
fi
export WINEPREFIX="$KW_WINEPREFIX"
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

status=0
if [ -n "${KW_WINE_OWN_DISPLAY:-}" ]; then
  # A server that ends one second after its last process instead of three (if none runs yet).
  wineserver -p1 2>/dev/null || true
fi
"$wine" "$@" || status=$?
# On our own display, let Wine's helper processes end before xvfb-run takes the display away.
if [ -n "${KW_WINE_OWN_DISPLAY:-}" ]; then
  wineserver -w 2>/dev/null || true
fi
exit "$status"
