#!/bin/sh
# Drives the interactive demo in a tmux pane of 80x24, once with colours (TERM=xterm-256color),
# once on a terminal without them (TERM=vt100) and once with NO_COLOR: types into the phone
# control, selects and copies, types letters beyond ASCII into the name (the terminal speaks
# UTF-8), checks what the screen shows, shrinks and restores the terminal,
# quits with F10 and checks the exit status; then, in the French locale, types an amount and
# checks its separators. Every check polls the screen (up to KW_TERMINAL_TIMEOUT seconds, 60 by
# default), so a slow, loaded machine only makes it slower. Without tmux it is skipped (77).
#   tests/terminal/terminal_test.sh build/native/bin/kwterminal
set -u
program=$1
if ! command -v tmux >/dev/null 2>&1; then
  echo "SKIP: tmux is not installed (apt-get install tmux)"
  exit 77
fi
# One tmux server per run, each on its own socket: a server that is still shutting down never
# meets the next run.
base="kwterminal-test-$$"
socket="$base-0"
tm() { tmux -L "$socket" -f /dev/null "$@"; }
trap 'tm kill-server >/dev/null 2>&1' EXIT INT TERM
timeout=${KW_TERMINAL_TIMEOUT:-60}

fail() {
  echo "FAIL ($look): $*"
  echo "--- the screen:"
  tm capture-pane -p -t demo 2>/dev/null
  exit 1
}

# Waits until the screen satisfies a test: screen_has TEXT, or any command reading $screen.
poll() {
  what=$1
  shift
  deadline=$(($(date +%s) + timeout))
  while :; do
    screen=$(tm capture-pane -p -e -t demo 2>/dev/null) && "$@" && return 0
    [ "$(date +%s)" -ge "$deadline" ] && fail "$what"
    sleep 0.1
  done
}
shows() { printf '%s\n' "$screen" | sed 's/\x1b\[[0-9;]*m//g' | grep -qF -- "$1"; }
expect() { poll "never showed '$1'" shows "$1"; }
coloured() { printf '%s' "$screen" | grep -q "$(printf '\033')\[[0-9;]*[34]8;5;"; }
plain() { ! coloured; }

run() {
  look=$1
  colours=$2
  shift 2
  tm kill-server >/dev/null 2>&1
  socket="$base-$(($(echo "$socket" | sed 's/.*-//') + 1))"
  # The shell of the pane says how the demo ended, and stays.
  tm new-session -d -s demo -x 80 -y 24 \
    "env LC_CTYPE=C.UTF-8 $* '$program'; echo \"the demo ended with status \$?\"; exec sleep 3600" ||
    fail "tmux cannot start"
  expect "Phone number"
  expect "phone: character control"
  expect "(___) ___-____"
  if [ "$colours" = yes ]; then poll "no colours on the screen" coloured; else poll "colours on a screen without" plain; fi

  tm send-keys -t demo x
  expect "refused 1 key(s) here"
  tm send-keys -t demo -l 5551234567
  expect "[(555) 123-4567  ]"
  expect "field 1: field control"
  expect "phone: EN_UPDATE EN_CHANGE"
  tm send-keys -t demo -l ab
  expect "[AB  ]"
  tm send-keys -t demo BTab
  expect "phone: character control"
  tm send-keys -t demo Home S-End
  expect "selected 1-14"  # Home goes to the first input position
  tm send-keys -t demo C-c
  expect "clipboard:  '555) 123-4567'"

  tm send-keys -t demo Tab Tab Tab Tab Tab Tab
  expect "name: field control"
  tm send-keys -t demo -l "$(printf '\305\201')"  # U+0141, as the terminal sends it: UTF-8
  expect "key    $(printf '\305\201')"
  tm send-keys -t demo -l ucja
  expect "key    a"
  expect "refused 0 key(s) here"
  tm send-keys -t demo 1
  expect "refused 1 key(s) here, last: wrong kind at 5 '1'"
  tm send-keys -t demo -l "$(printf '\342\200\257')"  # U+202F: no key, no letter
  expect "key    {U+202F}"
  tm send-keys -t demo -l "$(printf '\343\201\202')"  # U+3042, two cells wide
  expect "key    $(printf '\343\201\202')"

  tm resize-window -t demo -x 70 -y 20
  expect "The demo needs 80x24; this terminal is 70x20"
  tm resize-window -t demo -x 80 -y 24
  expect "Code-year-number"

  tm send-keys -t demo F1
  expect "Any key closes this help."
  tm send-keys -t demo Space F10
  poll "F10 did not end the demo" shows "the demo ended with status"
  shows "the demo ended with status 0" || fail "the demo did not end well"
  echo "ok: $look"
}

# The amount in the user's locale: French groups thousands with U+202F (a narrow no-break
# space) and writes the decimal comma; the locale's decimal separator types the point.
french() {
  look="French locale, LANG=fr_FR.UTF-8"
  if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
    echo "SKIP ($look): the locale fr_FR.UTF-8 is not generated (tools/setup.sh test makes it)"
    return
  fi
  tm kill-server >/dev/null 2>&1
  socket="$base-$(($(echo "$socket" | sed 's/.*-//') + 1))"
  tm new-session -d -s demo -x 80 -y 24 \
    "env LANG=fr_FR.UTF-8 LC_CTYPE=C.UTF-8 TERM=xterm-256color '$program'; echo \"the demo ended with status \$?\"; exec sleep 3600" ||
    fail "tmux cannot start"
  expect "phone: character control"
  tm send-keys -t demo Tab Tab Tab Tab
  expect "amount: number control"
  tm send-keys -t demo -l 1234567,89
  nnbsp=$(printf '\342\200\257')
  expect "[1${nnbsp}234${nnbsp}567,89"
  expect "data   '1234567.89'"
  tm send-keys -t demo F10
  poll "F10 did not end the demo" shows "the demo ended with status"
  shows "the demo ended with status 0" || fail "the demo did not end well"
  echo "ok: $look"
}

run "colours, TERM=xterm-256color" yes TERM=xterm-256color
run "no colours, TERM=vt100" no TERM=vt100
run "NO_COLOR=1" no TERM=xterm-256color NO_COLOR=1
french
