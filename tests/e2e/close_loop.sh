#!/usr/bin/env bash
# End to end: a beginner's loop of waits (while AwaitKey != Escape, never
# asking IsOpen) whose window its user closes with the close box (openbox
# on a virtual X display, asked by wmctrl) ends: status 0 and a line saying
# why, instead of going on invisibly. The time it took is printed for the
# record.
# Usage: close_loop.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
exe="$build/tests/key_loop"
[ -x "$exe" ] || { echo "missing $exe"; exit 1; }
for tool in xvfb-run openbox wmctrl xdotool; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/install-deps.sh)"; exit 1; }
done

if [ -z "${CLOSE_LOOP_UNDER_XVFB:-}" ]; then
  export CLOSE_LOOP_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER

work=$(mktemp -d)
pid="" manager=""
trap 'for p in $pid $manager; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

openbox --sm-disable >"$work/openbox.log" 2>&1 &
manager=$!
for _ in $(seq 100); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
wmctrl -m >/dev/null 2>&1 || fail "openbox did not start"

timeout 120 "$exe" >"$work/out.txt" 2>"$work/err.txt" &
pid=$!
wid=$(timeout 60 xdotool search --sync --name "^Key loop$" | head -1)
[ -n "$wid" ] || fail "no window"
for _ in $(seq 100); do
  grep -q "waiting for keys" "$work/out.txt" && break
  sleep 0.1
done
xdotool windowfocus --sync "$wid"
xdotool type --window "$wid" "ab"
start=$(date +%s%N)
wmctrl -F -c "Key loop"
status=0
wait "$pid" || status=$?
pid=""
echo "key_loop ended $((($(date +%s%N) - start) / 1000000)) ms after the close"
[ "$status" = 0 ] || fail "status $status after the close: $(cat "$work/err.txt")"
grep -q "^graphics: AwaitKey waits on a window its user has closed" "$work/err.txt" ||
  fail "no line about the closed window: $(cat "$work/err.txt")"
grep -q "^Escape$" "$work/out.txt" && fail "the program took the close for Escape"
echo "close_loop: passed"
