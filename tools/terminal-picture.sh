#!/bin/sh
# Makes docs/demo-terminal.txt: the interactive terminal demo in an 80x24 tmux pane after a user
# has filled in part of the form (the date is still being typed, so it shows its warning).
#   tools/terminal-picture.sh [output file]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/demo-terminal.txt}
command -v tmux >/dev/null 2>&1 || { echo "terminal-picture.sh: needs tmux (apt-get install tmux)" >&2; exit 1; }
(cd "$root" && cmake --preset native >/dev/null && cmake --build --preset native --target kwterminal >/dev/null)
socket="kwterminal-picture-$$"
tm() { tmux -L "$socket" -f /dev/null "$@"; }
trap 'tm kill-server >/dev/null 2>&1' EXIT INT TERM
# Waits (up to a minute) until the pane shows the text.
wait_for() {
  n=0
  until tm capture-pane -p -t demo | grep -qF -- "$1"; do
    n=$((n + 1))
    [ "$n" -lt 600 ] || { echo "terminal-picture.sh: the demo never showed '$1'" >&2; exit 1; }
    sleep 0.1
  done
}
tm new-session -d -s demo -x 80 -y 24 "exec env LC_CTYPE=C.UTF-8 TERM=xterm-256color '$root/build/native/bin/kwterminal'"
wait_for "Phone number"
tm send-keys -t demo -l 5551234567abc20260042
wait_for "amount: number control"
tm send-keys -t demo -l 1234567.89
tm send-keys -t demo Tab
wait_for "date: character control"
tm send-keys -t demo -l 1345
wait_for "[13/45/____"
mkdir -p "$(dirname "$out")"
tm capture-pane -p -t demo >"$out"
tm send-keys -t demo F10
echo "terminal-picture.sh: wrote $out"
