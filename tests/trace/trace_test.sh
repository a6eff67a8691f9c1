#!/bin/sh
# Runs the trace tool on each case of cases.txt and compares its output with expected/<name>.txt;
# a case named !name must fail with exit status 2 and one line on stderr; a case named +name needs
# controls that hold text beyond the ANSI code page (UTF-16 inside) and is skipped, with a word,
# in a build whose controls do not. The Windows build runs the same cases under Wine, so both
# platforms give the same traces.
#   tests/trace/trace_test.sh build/native/bin/kwtrace
#   tests/trace/trace_test.sh tools/wine-run.sh build/windows/bin/kwtrace.exe
set -u
# Under Wine one X server serves every case, as one desktop serves the programs of a session
# (and the clipboard lives on between them): start one unless a display is set.
case "${1:-}" in
  *wine-run.sh)
    if [ -z "${DISPLAY:-}" ]; then
      exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
    fi ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
runner=$(for word in "$@"; do printf "'%s' " "$word"; done)
failed=0
# Do the controls keep a character the ANSI code page lacks (U+3042)?
eval "set -- $runner --control field --mask '&' --keys '{U+3042}'"
if "$@" 2>/dev/null </dev/null | grep -q "^data '$(printf '\343\201\202')'"; then
  wide=yes
else
  wide=no
fi
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
while read -r name args; do
  case "$name" in '' | '#'*) continue ;; esac
  if [ "${name#+}" != "$name" ] && [ "$wide" = no ]; then
    echo "skip $name: the controls of this build keep text in the ANSI code page"
    continue
  fi
  eval "set -- $args"
  # The locale is the process's from its start (Wine takes its own from LC_ALL too).
  locale=""
  prev=""
  for a in "$@"; do
    [ "$prev" = --locale ] && locale=$a
    prev=$a
  done
  # Another program leaves text on the clipboard before each case (on the real platform it
  # stays there after that program ends): a trace depends on no clipboard but its own.
  eval "set -- $runner --text 5551234567 --keys '{Home}{S+End}{C+c}'"
  "$@" >/dev/null 2>&1 </dev/null || true
  eval "set -- $runner $args"
  status=0
  if [ -n "$locale" ]; then
    LC_ALL=$locale "$@" >"$out" 2>"$err" </dev/null || status=$?
  else
    "$@" >"$out" 2>"$err" </dev/null || status=$?
  fi
  case "$name" in
    '!'*)
      if [ "$status" != 2 ] || [ "$(wc -l <"$err")" != 1 ] || [ -s "$out" ]; then
        echo "FAIL $name: status $status (expected 2), stderr:"; cat "$err"; failed=1
      else
        echo "ok   $name: $(cat "$err")"
      fi ;;
    *)
      if [ "$status" != 0 ] || ! diff -u "$here/expected/${name#+}.txt" "$out"; then
        echo "FAIL $name: status $status"; cat "$err"; failed=1
      else
        echo "ok   $name"
      fi ;;
  esac
done <"$here/cases.txt"
exit $failed
