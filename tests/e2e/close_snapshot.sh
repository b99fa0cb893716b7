#!/usr/bin/env bash
# End to end: a window closed by its user (Alt+F4 on a virtual X display,
# the close box's message) still gets its closing snapshot, showing the
# picture it had, and the program ends normally.
# Usage: close_snapshot.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
exe="$build/examples/click_to_quit/click_to_quit"
[ -x "$exe" ] || { echo "missing $exe"; exit 1; }

if [ -z "${CLOSE_SNAPSHOT_UNDER_XVFB:-}" ]; then
  export CLOSE_SNAPSHOT_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

GRAPHICS_SNAPSHOT="$work/s-%d.png" timeout 120 "$exe" >"$work/out.txt" 2>&1 &
pid=$!
wid=$(timeout 60 xdotool search --sync --name "^Click to quit$" | head -1)
[ -n "$wid" ] || fail "no window"
for _ in $(seq 100); do
  grep -q "Click in the window" "$work/out.txt" && break
  sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + 100)) $((Y + 100))
xdotool windowfocus --sync "$wid"
xdotool key alt+F4
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "status $status after the close: $(cat "$work/out.txt")"
[ "$(ls "$work" | grep png | tr '\n' ' ')" = "s-0-close.png " ] || fail "snapshots: $(ls "$work")"
# The gold circle the program drew, not a blank stand-in.
[ "$(convert "$work/s-0-close.png" -format '%[pixel:p{150,90}]' info:)" = "srgb(255,215,0)" ] ||
  fail "the closing snapshot does not show the picture"
echo "close_snapshot: passed"
