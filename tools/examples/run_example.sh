#!/usr/bin/env bash
# Runs one example program on the current X display (a virtual one from
# xvfb-run, without a window manager), plays the given input on it with
# xdotool, saves a screenshot of its windows as a PNG, and then ends it as a
# user would: Escape, a right click and a left click, until it has exited
# (the last window waits for a click before it closes).
#
# Usage: run_example.sh PROGRAM OUTPUT.png [STEP...]
#   STEP: click:X,Y  rclick:X,Y  key:NAME  sleep:SECONDS
#   (X, Y in the first window's client area)
# Runs PROGRAM in its own folder, so that it finds the files beside it.
# Exits non-zero when the program shows no window or does not end.
set -euo pipefail
program=$(realpath "$1"); shot=$(realpath -m "$2"); shift 2
command -v xdotool >/dev/null && command -v import >/dev/null ||
  { echo "run_example.sh needs xdotool and ImageMagick's import"; exit 2; }

log=$(mktemp)
(cd "$(dirname "$program")" && exec env -u SDL_VIDEODRIVER "$program") >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -f "$log"' EXIT

windows=""
for _ in $(seq 100); do
  windows=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true)
  [ -n "$windows" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "$program ended without a window:"; cat "$log"; exit 1; }
  sleep 0.1
done
[ -n "$windows" ] || { echo "$program showed no window"; exit 1; }
sleep 1  # let a second window appear and the first frames be drawn
windows=$(xdotool search --onlyvisible --pid "$pid")
first=$(echo "$windows" | head -1)
eval "$(xdotool getwindowgeometry --shell "$first")"
X0=$X; Y0=$Y
xdotool mousemove $((X0 + 5)) $((Y0 + 5))
xdotool windowfocus --sync "$first" 2>/dev/null || true

for step in "$@"; do
  what=${step%%:*}; arg=${step#*:}
  case $what in
    click|rclick)
      button=1; [ "$what" = rclick ] && button=3
      xdotool mousemove $((X0 + ${arg%,*})) $((Y0 + ${arg#*,})) click $button ;;
    key) xdotool key --delay 40 "$arg" ;;
    sleep) sleep "$arg" ;;
    *) echo "unknown step $step"; exit 2 ;;
  esac
  sleep 0.2
done
sleep 0.5

# The box around all of the program's windows.
left=100000; top=100000; right=0; bottom=0
for wid in $windows; do
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  left=$((X < left ? X : left)); top=$((Y < top ? Y : top))
  right=$((X + WIDTH > right ? X + WIDTH : right)); bottom=$((Y + HEIGHT > bottom ? Y + HEIGHT : bottom))
done
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shot"

for _ in $(seq 30); do
  kill -0 "$pid" 2>/dev/null || break
  xdotool mousemove $((X0 + 5)) $((Y0 + 5)) key Escape click 3 click 1 2>/dev/null || true
  sleep 0.3
done
if kill -0 "$pid" 2>/dev/null; then
  echo "$program did not end"; cat "$log"; exit 1
fi
wait "$pid" || { echo "$program failed:"; cat "$log"; exit 1; }
