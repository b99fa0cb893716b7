#!/usr/bin/env bash
# Plays the game end to end on a virtual X display: answers the console
# (a word, a bad speed), looks at the court in screenshots (wall colours, the
# back wall's picture, the blue paddle moving left on key 4), ends the game
# with Q and a click, plays a second game, and quits with 5. Then checks the
# end of the input and a missing picture file.
#
#     bash game.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

if [ -z "${KIVA_E2E_DISPLAY:-}" ]; then
  KIVA_E2E_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

build=$(cd "$1" && pwd)
kiva=$build/game/kiva
pictures=$build/game/PictureFiles
[ -x "$kiva" ] || { echo "FAIL: no $kiva"; exit 1; }
[ -f "$pictures/background1.jpg" ] || { echo "FAIL: no $pictures/background1.jpg"; exit 1; }

# Run from a folder without pictures: the game finds them beside itself.
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

menu_count() { grep -c "^5 <I don't care, I want to quit>$" out.txt || true; }

# Waits up to $2 seconds until out.txt holds the text $1 at least $3 times
# (bounds generous for a busy machine: a wait ends as soon as the text is there).
wait_for_output() {
  local text=$1 seconds=$2 times=${3:-1} i
  for ((i = 0; i < seconds * 10; i++)); do
    [ "$(grep -cF -- "$text" out.txt || true)" -ge "$times" ] && return 0
    sleep 0.1
  done
  return 1
}

# Colours of screenshot pixels: pixels.py SHOT X0 Y0 then "x y" lines on
# stdin (client coordinates); prints "r g b" lines.
cat > pixels.py <<'PY'
import sys
def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:]
width, height, pixels = read_ppm(sys.argv[1])
x0, y0 = int(sys.argv[2]), int(sys.argv[3])
if len(sys.argv) > 4:  # the leftmost pure blue pixel of client row argv[4]
    y = int(sys.argv[4])
    row = [pixels[((y0 + y) * width + x0 + x) * 3:((y0 + y) * width + x0 + x) * 3 + 3] for x in range(1000)]
    print(next((x for x, p in enumerate(row) if tuple(p) == (0, 0, 255)), -1))
    sys.exit(0)
for line in sys.stdin:
    x, y = map(int, line.split())
    i = ((y0 + y) * width + x0 + x) * 3
    print(pixels[i], pixels[i + 1], pixels[i + 2])
PY

shoot() { import -window root "$1.png" && convert "$1.png" "$1.ppm"; }
pixel() { echo "$2 $3" | python3 pixels.py "$1.ppm" "$X0" "$Y0"; }
# The leftmost x of a pure blue pixel in client row $2, or -1.
leftmost_blue() { python3 pixels.py "$1.ppm" "$X0" "$Y0" "$2" </dev/null; }
# The paddle's left edge: the leftmost blue of two rows, in case the ball
# hides the edge in one of them.
paddle_left() {
  local one two
  one=$(leftmost_blue "$1" 300)
  two=$(leftmost_blue "$1" 420)
  if [ "$one" -lt 0 ] || { [ "$two" -ge 0 ] && [ "$two" -lt "$one" ]; }; then echo "$two"; else echo "$one"; fi
}

mkfifo in.fifo
exec 3<>in.fifo
"$kiva" <in.fifo >out.txt 2>err.txt &
pid=$!

# ---- the console: a word at the menu, a word and a bad speed at the question
wait_for_output "5 <I don't care, I want to quit>" 30 || fail "no menu"
printf 'Japan\n' >&3
wait_for_output "Please answer with a whole number." 30 || fail "no message for a word at the menu"
wait_for_output "5 <I don't care, I want to quit>" 30 2 || fail "menu not asked again"
printf '1\n' >&3
wait_for_output "BallSpeed(1-8) : " 30 || fail "no speed question"
printf 'fast\n9\n' >&3
wait_for_output "Invalid speed, default of 4 set" 30 || fail "no message for speed 9"
[ "$(grep -c 'BallSpeed(1-8) : ' out.txt)" -eq 2 ] || fail "speed question not asked again after a word"
[ "$(grep -c 'Please answer with a whole number.' out.txt)" -eq 2 ] && pass "console answers" ||
  fail "a word at the speed question was not told"

# ---- the court
wid=$(xdotool search --sync --name "Tobb's Cube Rendering thingy" | head -1)
[ -n "$wid" ] || { fail "no game window"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
X0=$X; Y0=$Y
[ "$WIDTH" -eq 1000 ] && [ "$HEIGHT" -eq 720 ] && pass "window 1000 x 720" || fail "window is ${WIDTH}x$HEIGHT"
sleep 0.5
shoot a
before=$(paddle_left a)
xdotool key --window "$wid" 4
# The key reaches the game at its next frame; allow for a busy machine.
for try in $(seq 20); do
  sleep 0.3
  shoot b
  after=$(paddle_left b)
  [ "$after" -ne "$before" ] && break
done

# Each point must show its colour in one of the two shots (the ball may
# cover it in the other).
check_point() {
  local name=$1 x=$2 y=$3 want=$4 seen
  for shot in a b; do
    seen=$(pixel $shot "$x" "$y")
    [ "$seen" = "$want" ] && { pass "$name at ($x, $y) is $want"; return; }
  done
  fail "$name at ($x, $y) is '$seen', not '$want'"
}
check_point "left wall" 250 360 "174 174 174"
check_point "right wall" 750 360 "174 174 174"
check_point "ceiling" 500 240 "122 122 122"
check_point "floor" 500 490 "255 255 255"
check_point "floor's near edge" 300 528 "0 0 0"
check_point "below the court" 5 715 "255 255 255"

# Key 4 moves the paddle 30 units left: 33.75 pixels at its depth.
if [ "$before" -ge 425 ] && [ "$before" -le 445 ] && [ "$after" -ge $((before - 40)) ] && [ "$after" -le $((before - 28)) ]; then
  pass "paddle's left edge moved from $before to $after on key 4"
else
  fail "paddle's left edge at $before, then $after after key 4"
fi

# The back wall's picture, beside the paddle (right of it after key 4):
# screen (x, y) shows picture pixel (x - 416, y - 318).
convert "$pictures/background1.jpg" picture.ppm
for y in 326 340 354 368 382 396; do
  for x in 540 552 564 576; do echo "$x $y"; done
done >points.txt
awk '{ print $1 - 416, $2 - 318 }' points.txt | python3 pixels.py picture.ppm 0 0 >wanted.txt
python3 pixels.py b.ppm "$X0" "$Y0" <points.txt >seen.txt
total=$(wc -l <points.txt)
matches=$(paste -d'|' wanted.txt seen.txt | awk -F'|' '$1 == $2' | wc -l)
[ $((matches * 10)) -ge $((total * 8)) ] && pass "back-wall picture ($matches of $total points)" ||
  fail "back-wall picture: only $matches of $total points match"

# ---- Q ends the game; a click brings the menu back
xdotool key --window "$wid" q
wait_for_output "Click mouse in the graphics window to finish execution." 30 || fail "no click prompt after Q"
sleep 0.3
kill -0 "$pid" 2>/dev/null || fail "game ended before the click"
[ "$(menu_count)" -eq 2 ] || fail "menu came back before the click"
xdotool mousemove --window "$wid" 200 200 click 1
wait_for_output "5 <I don't care, I want to quit>" 30 3 && pass "Q, then a click: menu again" || fail "no menu after the click"

# ---- a second game, ended with capital Q
printf '42\n8\n' >&3
wid=$(xdotool search --sync --name "Tobb's Cube Rendering thingy" | head -1)
sleep 0.5
xdotool key --window "$wid" Q
wait_for_output "Click mouse in the graphics window to finish execution." 30 2 || fail "no click prompt after capital Q"
sleep 0.3
xdotool mousemove --window "$wid" 300 300 click 1
wait_for_output "5 <I don't care, I want to quit>" 30 4 && pass "second game (nation 42, speed 8)" || fail "no menu after the second game"

# ---- 5 ends the program with status 0
printf '5\n' >&3
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] && pass "5 ends with status 0" || fail "exit status $status after 5"
[ -s err.txt ] && fail "standard error: $(cat err.txt)"

# ---- the end of the input ends the program like 5
status=0
"$kiva" </dev/null >eof.txt 2>&1 || status=$?
[ "$status" -eq 0 ] && [ "$(grep -c "I want to quit" eof.txt)" -eq 1 ] && pass "end of input quits" ||
  fail "end of input: status $status"

# ---- hostile input: a megabyte of binary bytes without a digit, numbers
# past int, then the end of the input: every line refused, no window, no
# crash, status 0, within a bounded time
{ head -c 1048576 /dev/urandom | tr -d '0-9+-'; printf '\n99999999999999999999\n-99999999999999999999\n'; } >hostile.txt
status=0
timeout 60 "$kiva" <hostile.txt >hostile_out.txt 2>hostile_err.txt || status=$?
if [ "$status" -eq 0 ] && [ "$(grep -c "Please answer with a whole number." hostile_out.txt)" -ge 3 ] &&
  ! grep -q "BallSpeed" hostile_out.txt && [ ! -s hostile_err.txt ]; then
  pass "hostile input refused line by line"
else
  fail "hostile input: status $status, stderr '$(head -c 300 hostile_err.txt)'"
fi

# ---- a missing picture file: a clear message and a failing status
mkdir alone
cp "$kiva" alone/kiva
status=0
(cd alone && ./kiva </dev/null >out.txt 2>err.txt) || status=$?
if [ "$status" -ne 0 ] && grep -q 'PictureFiles/background1.jpg' alone/err.txt && [ ! -s alone/out.txt ]; then
  pass "missing background: status $status, $(cat alone/err.txt)"
else
  fail "missing background: status $status, stderr '$(cat alone/err.txt)', stdout '$(cat alone/out.txt)'"
fi

if [ "$failures" -ne 0 ]; then
  echo "--- console output"
  cat out.txt 2>/dev/null || true
  exit 1
fi
echo "all game checks passed"
