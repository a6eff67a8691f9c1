#!/bin/sh
# Makes docs/demo-windows.png: the demo dialog (kwdialog.exe: a dialog template naming the window
# classes, a program in C) under Wine on a private Xvfb display, after a user has filled in part
# of it (the date is still being typed, so it shows its warning look). Wine runs it in a virtual
# desktop of the display's size, where it draws the dialog's frame and caption itself (Xvfb has
# no window manager to draw them); the picture is the desktop trimmed to the dialog.
#   tools/windows-picture.sh [output file]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/demo-windows.png}
"$root/tools/setup.sh" shots
(cd "$root" && cmake --preset windows >/dev/null &&
   cmake --build --preset windows --target kwdialog -j "${KW_JOBS:-2}" >/dev/null)

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
# The picture is taken inside the display's own session, so the display ends with it.
cat >"$work/shoot.sh" <<EOF
#!/bin/sh
set -eu
"$root/tools/wine-run.sh" explorer.exe /desktop=KwMaskEditDemo,800x480 \
  "$root/build/windows/bin/kwdialog.exe" --keys '5551234567abc202600421234567.89{Tab}1345' \
  >"$work/out.txt" 2>&1 &
n=0
until grep -q ready "$work/out.txt" 2>/dev/null; do
  n=\$((n + 1)); [ "\$n" -lt 900 ] || { cat "$work/out.txt" >&2; exit 1; }
  sleep 0.2
done
sleep 2  # let Wine finish painting
import -window root -trim +repage "$out"
WINEPREFIX="$root/build/windows/wineprefix" wineserver -k 2>/dev/null || true
EOF
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 800x480x24 -nolisten tcp" "$work/shoot.sh" &
pid=$!
wait "$pid"
echo "windows-picture.sh: wrote $out"
