#!/usr/bin/env bash
# Headless runs of the real programs with no display at all (or one that
# cannot be reached): waits that no input can end, bad input scripts, and the game under virtual time giving
# the same snapshots on every run, with and without a paddle script, and
# when a recorded session is played back.
# Usage: headless.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@"; }
click_to_quit=$build/examples/click_to_quit/click_to_quit
sketch=$build/examples/sketch/sketch
kiva=$build/game/kiva

# --- Waits no input can end: status 3 and a message naming the wait; a
# script's click ends the same wait normally. (The time limit only guards
# against a hang; the elapsed time is printed for the record.)
start=$(date +%s%N)
headless timeout 20 "$click_to_quit" >out.txt 2>err.txt
status=$?
echo "click_to_quit without input: status $status after $((($(date +%s%N) - start) / 1000000)) ms"
[ "$status" = 3 ] || fail "AwaitClick without input: status $status"
grep -q "AwaitClick waits for input that cannot arrive" err.txt || fail "no message naming AwaitClick: $(cat err.txt)"
headless timeout 20 "$sketch" >out.txt 2>err.txt
[ "$?" = 3 ] && grep -q "AwaitKey waits" err.txt || fail "AwaitKey without input: $(cat err.txt)"

echo "frame 0 +5 click right 30 40" >click.txt
headless GRAPHICS_INPUT=click.txt timeout 20 "$click_to_quit" >out.txt 2>err.txt
status=$?
[ "$status" = 0 ] && grep -q "right click at 30 40" out.txt || fail "scripted click: status $status, $(cat out.txt err.txt)"

# An unreachable display is named with its reason, and the program draws
# offscreen as with no display at all: the same output and status, with a
# script's click and without input.
number=55
while [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
headless GRAPHICS_INPUT=click.txt timeout 20 "$click_to_quit" >offscreen.txt 2>/dev/null
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=":$number" GRAPHICS_INPUT=click.txt timeout 20 "$click_to_quit" \
  >out.txt 2>err.txt
status=$?
[ "$status" = 0 ] && diff -q offscreen.txt out.txt >/dev/null || fail "unreachable display: status $status, $(cat out.txt)"
[ "$(cat err.txt)" = "graphics: cannot reach the display :$number: no X server runs there; windows are drawn offscreen" ] ||
  fail "unreachable display :$number: $(cat err.txt)"
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=":$number" timeout 20 "$click_to_quit" >out.txt 2>err.txt
status=$?
[ "$status" = 3 ] && grep -q "AwaitClick waits for input that cannot arrive" err.txt ||
  fail "unreachable display without input: status $status, $(cat err.txt)"

# Keys, a pointer move and a held button reach the program as real input
# would (QueryButton sees the press: the dot turns red); the script then
# runs out and the last window's wait returns at once.
printf '%s\n' "frame 0 key Left" "frame 1 move 100 50" "frame 1 press left 100 50" "frame 2 key 2" \
  "frame 3 key q" "frame 3 click left 7 8" >sketch.txt
mkdir sketch
headless GRAPHICS_INPUT=sketch.txt GRAPHICS_SNAPSHOT=sketch/s-%d.png timeout 20 "$sketch" >out.txt 2>err.txt
status=$?
[ "$status" = 0 ] || fail "sketch with a script: status $status, $(cat err.txt)"
grep -q "square at 120 120" out.txt && grep -q "clicked at 7 8" out.txt || fail "sketch's keys: $(cat out.txt)"
[ "$(ls sketch | tr '\n' ' ')" = "s-1.png s-2.png s-3-close.png s-3.png " ] || fail "sketch's snapshots: $(ls sketch)"
[ "$(convert sketch/s-3.png -format '%[pixel:p{100,50}]' info:)" = "srgb(255,0,0)" ] || fail "pointer dot not red"

# A beginner's loop of waits (while AwaitKey != Esc, never asking IsOpen)
# whose window the script closes ends at its second wait on the closed
# window, with status 0 and a line saying why; the recording of that run
# holds the close where the script put it.
key_loop=$build/tests/key_loop
echo "frame 0 +6 close" >close.txt
start=$(date +%s%N)
headless GRAPHICS_INPUT=close.txt GRAPHICS_RECORD=closed.txt timeout 20 "$key_loop" >out.txt 2>err.txt
status=$?
echo "key_loop closed by its script: status $status after $((($(date +%s%N) - start) / 1000000)) ms"
[ "$status" = 0 ] || fail "key_loop closed by its script: status $status, $(cat err.txt)"
grep -q "^graphics: AwaitKey waits on a window its user has closed" err.txt ||
  fail "no line about the closed window: $(cat err.txt)"
grep -v '^#' closed.txt | diff - close.txt >/dev/null || fail "the recording of the close: $(cat closed.txt)"

# Two windows closed after the same frame each keep their closing snapshot.
mkdir two
headless GRAPHICS_INPUT="$2/examples/two_windows/input.txt" GRAPHICS_SNAPSHOT=two/t-%d.png \
  GRAPHICS_SNAPSHOT_FRAMES=close timeout 20 "$build/examples/two_windows/two_windows" >out.txt 2>err.txt
[ "$(ls two | tr '\n' ' ')" = "t-2-close-2.png t-2-close.png " ] || fail "two windows' closing snapshots: $(ls two)"

# --- Bad scripts: a message with the line number, status 4, no crash.
check_bad() {  # check_bad NAME EXPECTED-MESSAGE
  headless GRAPHICS_INPUT="$1" timeout 20 "$click_to_quit" >out.txt 2>err.txt
  local status=$?
  [ "$status" = 4 ] || fail "$1: status $status, $(cat err.txt)"
  grep -qF "$2" err.txt || fail "$1: expected \"$2\" in: $(cat err.txt)"
}
printf 'frame 1 key 4\n\nframe 2 key Foo\n' >unknown_key.txt
check_bad unknown_key.txt "unknown_key.txt: line 3: unknown key name 'Foo'"
printf '# clicks\nframe 1 click left 10\n' >missing_coordinates.txt
check_bad missing_coordinates.txt "line 2: missing coordinates"
printf 'frame 9 key 1\nframe 3 key 2\n' >out_of_order.txt
check_bad out_of_order.txt "line 2: frame 3 +0 comes before the previous frame line (9 +0)"
check_bad "$click_to_quit" "line 1: not a text line"
check_bad no_such_script.txt "cannot read the input script"

# --- The game under virtual time, nation and speed on standard input and no
# other input: the same snapshots twice. It plays on until stopped, so each
# run is stopped once its last chosen snapshot is there (files appear whole).
play_unattended() {  # play_unattended DIR
  mkdir "$1"
  # A simple command (not the headless function) as the pipeline's last
  # member, so that $! is the game itself (through timeout, which passes the
  # kill on and ends a forgotten game in any case).
  printf '4\n4\n' | env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER GRAPHICS_TIME=virtual \
    GRAPHICS_SNAPSHOT="$1/f-%05d.png" GRAPHICS_SNAPSHOT_FRAMES=1-40 timeout 300 "$kiva" >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 1200); do
    [ -e "$1/f-00040.png" ] && break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
play_unattended quiet1
play_unattended quiet2
[ "$(ls quiet1/*.png | wc -l)" = 40 ] || fail "unattended game: $(ls quiet1 | wc -l) snapshots, not 40"
diff -r quiet1 quiet2 >/dev/null || fail "two unattended games differ"

# --- With a paddle script, twice, recording the second run: the same
# snapshots, a normal end, and the paddle drawn elsewhere from the frame
# after the first key on.
printf '%s\n' "frame 10 key 4" "frame 12 key 4" "frame 20 key 8" "frame 25 key 6" "frame 40 key q" >paddle.txt
play_scripted() {  # play_scripted DIR SCRIPT [RECORDING]
  mkdir "$1"
  printf '4\n4\n5\n' | headless GRAPHICS_TIME=virtual GRAPHICS_INPUT="$2" GRAPHICS_SNAPSHOT="$1/f-%05d.png" \
    ${3:+GRAPHICS_RECORD="$3"} timeout 900 "$kiva" >"$1.out" 2>"$1.err"
  local status=$?
  [ "$status" = 0 ] || fail "scripted game $1: status $status, $(tail -3 "$1.out" "$1.err")"
  # Nothing on standard error but the note that no display exists: no
  # warning about any call the game makes.
  grep -v "^graphics: no display available; windows are drawn offscreen$" "$1.err" &&
    fail "scripted game $1 wrote on standard error"
}
play_scripted paddle1 paddle.txt
play_scripted paddle2 paddle.txt recorded.txt
[ "$(ls paddle1/*.png | wc -l)" = 42 ] || fail "scripted game: $(ls paddle1 | wc -l) snapshots, not 41 frames and the close"
diff -r paddle1 paddle2 >/dev/null || fail "two scripted games differ"
cmp -s paddle1/f-00010.png quiet1/f-00010.png || fail "frame 10 should not yet show the paddle moved"
cmp -s paddle1/f-00011.png quiet1/f-00011.png && fail "frame 11 should show the paddle moved"

# The recording is a script of the same input at the same places.
grep -v '^#' recorded.txt >recorded_lines.txt
diff -u paddle.txt recorded_lines.txt || fail "the recording differs from the script it recorded"
play_scripted replay recorded.txt
diff -r paddle1 replay >/dev/null || fail "the recorded session played back differs"

# The game's window closed by its script, as a user's close box would: the
# game ends without a word on standard error (it looks at IsOpen), with the
# closing snapshot of the court, and the menu's 5 quits.
printf '%s\n' "frame 10 key 4" "frame 20 close" >close_game.txt
play_scripted closed close_game.txt
[ -f closed/f-00020-close.png ] || fail "the game closed by its script: snapshots $(ls closed | tail -3)"

[ "$failures" = 0 ] && echo "headless: all checks passed"
exit $((failures > 0))
