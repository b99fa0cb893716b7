#!/usr/bin/env bash
# End to end: runs the echo_input example on a virtual X display without a
# window manager, types and clicks on it with xdotool (real X input), and
# checks the records it prints: keys with Shift and Caps Lock, Escape,
# arrows, a function key, left and right clicks, a press inside released
# outside, and the last-window prompt answered by a final click.
# Usage: echo_input.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
exe="$build/examples/echo_input/echo_input"
[ -x "$exe" ] || { echo "missing $exe"; exit 1; }

if [ -z "${ECHO_INPUT_UNDER_XVFB:-}" ]; then
  export ECHO_INPUT_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER

out=$(mktemp)
trap 'kill "$pid" 2>/dev/null || true; rm -f "$out"' EXIT

fail() {
  echo "FAIL: $*"
  echo "--- output so far:"
  cat "$out"
  exit 1
}

# Waits until the output has a line equal to $1.
expect_line() {
  for _ in $(seq 100); do
    grep -qxF -- "$1" "$out" && return 0
    sleep 0.1
  done
  fail "no line \"$1\""
}

"$exe" >"$out" 2>&1 &
pid=$!
expect_line "ready"
wid=$(xdotool search --sync --name "^Echo input$" | head -1)
[ -n "$wid" ] || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$wid")"  # X, Y: the client area on the screen

# Without a window manager the keyboard goes where the X focus is.
xdotool mousemove $((X + 200)) $((Y + 150))
xdotool windowfocus --sync "$wid"

xdotool type --delay 50 a
expect_line "key KK_CHAR 97"
xdotool key --delay 50 shift+b
expect_line "key KK_CHAR 66"
xdotool key --delay 50 Caps_Lock c Caps_Lock
expect_line "key KK_CHAR 67"
xdotool key --delay 50 Left
expect_line "key KK_NAV 4"
xdotool key --delay 50 Page_Up
expect_line "key KK_NAV 9"
xdotool key --delay 50 F5
expect_line "key KK_FKEY 5"
xdotool key --delay 50 Return
expect_line "key KK_CHAR 13"

xdotool mousemove $((X + 10)) $((Y + 20)) click 1
expect_line "click CK_LEFT 10 20"
xdotool mousemove $((X + 50)) $((Y + 60)) click 3
expect_line "click CK_RIGHT 50 60"

# Pressed inside, released 20 pixels left of the window: the position is
# reported as an unsigned 16-bit value.
xdotool mousemove $((X + 30)) $((Y + 40)) mousedown 1
sleep 0.3
xdotool mousemove $((X - 20)) $((Y + 40))
sleep 0.3
xdotool mouseup 1
expect_line "click CK_LEFT 65516 40"

xdotool mousemove $((X + 200)) $((Y + 150))
xdotool key --delay 50 Escape
expect_line "key KK_ESC 1"
expect_line "Click mouse in the graphics window to finish execution."
sleep 0.3
kill -0 "$pid" 2>/dev/null || fail "ended before the final click"
xdotool click 1
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "still running after the final click"
wait "$pid" || fail "exit status $?"

# Every record came once and nothing else was printed.
expected="ready
key KK_CHAR 97
key KK_CHAR 66
key KK_CHAR 67
key KK_NAV 4
key KK_NAV 9
key KK_FKEY 5
key KK_CHAR 13
click CK_LEFT 10 20
click CK_RIGHT 50 60
click CK_LEFT 65516 40
key KK_ESC 1
Click mouse in the graphics window to finish execution."
[ "$(cat "$out")" = "$expected" ] || fail "output differs from: $expected"
echo "echo_input: all records as expected"
