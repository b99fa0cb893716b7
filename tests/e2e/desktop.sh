#!/usr/bin/env bash
# End to end on a desktop: a virtual X server of the test's own (so that it
# can kill it) with openbox as the window manager, and desktop_probe's
# window (tests/e2e/desktop_probe.cpp) or an example's.
#   - A window destroyed by another client (xdotool windowclose) counts as
#     closed with its close box: the wait, the pause or the frame loop goes
#     on to the program's own end, status 0, no X error.
#   - During a pause, a window uncovered or restored from minimised shows
#     its picture again, pixel for pixel; so does a window uncovered beside
#     GTK's print dialog. The close box during a pause still ends with 0.
#   - Killing the X server (while frames are drawn, during a wait, a pause
#     or the print dialog) ends the program within 20 s with status 1 and
#     "graphics: lost the connection to the display :N" on standard error;
#     several runs, since the hang this guards against came at random.
# Usage: desktop.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
probe=$build/tests/desktop_probe
ball=$build/examples/bouncing_ball/bouncing_ball
printing=$build/examples/print_picture/print_picture
for exe in "$probe" "$ball" "$printing"; do
  [ -x "$exe" ] || { echo "FAIL: missing $exe"; exit 1; }
done
for tool in Xvfb openbox wmctrl xdotool xmessage xwininfo import; do
  command -v "$tool" >/dev/null || { echo "FAIL: missing $tool (scripts/install-deps.sh)"; exit 1; }
done
unset SDL_VIDEODRIVER GRAPHICS_PRINT_FILE GRAPHICS_PRINTER
work=$(mktemp -d)
# GTK's dialog finds no print service here: it lists "Print to File" only.
export CUPS_SERVER=$work/no-print-service.sock NO_AT_BRIDGE=1

server="" manager="" pid="" covering=""
cleanup() {
  for p in $pid $covering $manager $server; do
    { kill -9 "$p" && wait "$p"; } 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  echo "--- output:"; cat "$work/out" 2>/dev/null || true
  echo "--- errors:"; cat "$work/err" 2>/dev/null || true
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Starts an X server on a free display (DISPLAY is set, $server is its PID),
# with openbox managing its windows.
start_desktop() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>>"$work/xvfb.log" &
  server=$!
  for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
  export DISPLAY=":$(head -1 "$work/display")"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  manager=$!
  for _ in $(seq 300); do wmctrl -m >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "FAIL: openbox did not start on $DISPLAY"
  cat "$work/openbox.log" "$work/xvfb.log"
  exit 1
}

stop_desktop() {
  kill "$manager" "$server" 2>/dev/null || true
  { wait "$manager" "$server"; } 2>/dev/null || true
  manager="" server=""
}

# Starts a program in the background ($pid), its output in out and err.
start() {
  : >"$work/out"
  "$@" >"$work/out" 2>"$work/err" &
  pid=$!
}

# Waits up to 60 s until the program has printed the line $1.
said() {
  for _ in $(seq 600); do
    grep -qxF -- "$1" "$work/out" && return 0
    sleep 0.1
  done
  return 1
}

# Waits up to $1 seconds for the program to end; its status is in $status.
ended_within() {
  local i
  for ((i = 0; i < $1 * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0
      wait "$pid" || status=$?
      pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The viewable window titled $1, once there (up to 60 s); "" if none.
find_window() {
  local id
  for _ in $(seq 300); do
    for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\": " | awk '{print $1}'); do
      xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
}

# Waits until window $1 is viewable ($2 = yes) or not ($2 = no).
viewable() {
  for _ in $(seq 300); do
    if xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"; then
      [ "$2" = yes ] && return 0
    else
      [ "$2" = no ] && return 0
    fi
    sleep 0.1
  done
  return 1
}

# Sets X Y W H to window $1's client area on the screen.
locate() {
  read -r X Y W H < <(xwininfo -id "$1" |
    awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
         /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')
}

# Writes the screen's pixels in the rectangle $2 (WxH+X+Y) to $work/$1.ppm.
shoot() { import -window root -crop "$2" +repage "$work/$1.ppm"; }

# Waits up to 15 s until the rectangle $2 shows the picture $1.ppm again
# (wait_shown) or shows something else (wait_changed).
wait_shown() {
  for _ in $(seq 30); do
    shoot now "$2" && cmp -s "$work/$1.ppm" "$work/now.ppm" && return 0
    sleep 0.5
  done
  return 1
}
wait_changed() {
  for _ in $(seq 30); do
    shoot now "$2" && ! cmp -s "$work/$1.ppm" "$work/now.ppm" && return 0
    sleep 0.5
  done
  return 1
}

# The colour of pixel ($2, $3) of picture $1.ppm, as "r,g,b".
colour_at() {
  convert "$work/$1.ppm" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# Covers rectangle $1 (WxH+X+Y) with another client's window ($covering).
cover() {
  xmessage -geometry "$1" -name covering "covering" 2>/dev/null &
  covering=$!
}
uncover() {
  kill "$covering" 2>/dev/null || true
  wait "$covering" 2>/dev/null || true
  covering=""
}

# True when the probe, run in mode $1, said all it says when its window is
# closed: the wait and the frame loop end with the window closed; a pause
# ends as it would, the close still waiting to be read.
said_after_close() {
  local want
  case $1 in
    await) want="ready awaited closed" ;;
    pause*) want="ready resumed open" ;;
    animate) want="ready closed" ;;
  esac
  [ "$(echo $(cat "$work/out"))" = "$want" ]
}

start_desktop

# ---------------------------------------------------------------- destroyed by another client
for mode in await "pause 3000" animate animate animate; do
  start "$probe" $mode
  said ready && wid=$(find_window "Desktop probe") && [ -n "$wid" ] || { fail "$mode: no window"; continue; }
  xdotool windowclose "$wid"
  if ! ended_within 30; then
    fail "$mode: still running 30 s after its window was destroyed"
    kill -9 "$pid" 2>/dev/null || true
    continue
  fi
  if [ "$status" -eq 0 ] && said_after_close "$mode" && [ ! -s "$work/err" ]; then
    pass "$mode: a window destroyed by another client counts as closed"
  else
    fail "$mode: window destroyed by another client: status $status"
  fi
done

# ---------------------------------------------------------------- shown again during a pause
# (and, as before, during a wait for a click)
shown_again() {
  local mode=$1
  start "$probe" $mode
  if ! said ready || ! wid=$(find_window "Desktop probe") || [ -z "$wid" ]; then
    fail "$mode: no window"
    return
  fi
  locate "$wid"
  area="${W}x$H+$X+$Y"
  # The picture, once it is on the screen (red, blue, green, yellow corners).
  for _ in $(seq 60); do
    shoot picture "$area"
    [ "$(colour_at picture 20 20) $(colour_at picture 280 20) $(colour_at picture 20 180) $(colour_at picture 280 180)" \
      = "255,0,0 0,0,255 0,255,0 255,255,0" ] && break
    sleep 0.5
  done
  cover "$area"
  if wait_changed picture "$area"; then
    uncover
    wait_shown picture "$area" && pass "$mode: an uncovered window shows its picture" ||
      fail "$mode: an uncovered window does not show its picture"
  else
    fail "$mode: the covering window did not appear"
  fi
  uncover
  xdotool windowminimize "$wid"
  if viewable "$wid" no; then
    xdotool windowactivate "$wid" 2>/dev/null || true
    viewable "$wid" yes && wait_shown picture "$area" &&
      pass "$mode: a window restored from minimised shows its picture" ||
      fail "$mode: a window restored from minimised does not show its picture"
  else
    fail "$mode: the window was not minimised"
  fi
  [ "$(cat "$work/out")" = ready ] || fail "$mode: the program went on before the checks: too slow a machine?"
  { kill "$pid" && wait "$pid"; } 2>/dev/null || true
  pid=""
}
shown_again "pause 120000"
shown_again await

# The close box, as before: a pause ends as it would, then the program; a
# wait or a frame loop ends at once.
for mode in "pause 3000" await animate; do
  start "$probe" $mode
  if said ready && wid=$(find_window "Desktop probe") && [ -n "$wid" ]; then
    wmctrl -F -c "Desktop probe"
    ended_within 60 && [ "$status" -eq 0 ] && said_after_close "$mode" &&
      pass "$mode: the close box ends the program with 0" ||
      fail "$mode: close box"
  else
    fail "$mode: close box: no window"
  fi
done

# ---------------------------------------------------------------- shown again beside a dialog
# Print's dialog (GTK's), then the box that tells of a printer that does not
# exist (SDL's, shown from a child process); each is closed afterwards.
beside_dialog() {
  local what=$1 title=$2 close=$3 wid dialog dx dy
  shift 3
  start "$@"
  if ! said ready || ! wid=$(find_window "Print picture") || [ -z "$wid" ] ||
    ! dialog=$(find_window "$title") || [ -z "$dialog" ]; then
    fail "$what: no window or no dialog"
    return
  fi
  locate "$dialog"
  dx=$X dy=$Y
  locate "$wid"
  # A corner of the window above the dialog, or else left of it.
  if [ $((dy - Y)) -ge 20 ]; then
    area="200x$(((dy - Y) < 150 ? dy - Y : 150))+$X+$Y"
  elif [ $((dx - X)) -ge 20 ]; then
    area="$(((dx - X) < 200 ? dx - X : 200))x150+$X+$Y"
  else
    fail "$what: the dialog covers the window's corner"
    return
  fi
  shoot picture "$area"
  cover "$area"
  if wait_changed picture "$area"; then
    uncover
    wait_shown picture "$area" && pass "$what: a window uncovered beside it shows its picture" ||
      fail "$what: a window uncovered beside it does not show its picture"
  else
    fail "$what: the covering window did not appear"
  fi
  uncover
  $close "$dialog"
  ended_within 60 && [ "$status" -eq 0 ] && pass "$what: closed, the program ends with 0" ||
    fail "$what: the program did not end after the dialog was closed"
}
close_print_dialog() { wmctrl -F -c "Print"; }
close_box() { xdotool windowactivate "$1" 2>/dev/null; sleep 0.2; xdotool key Return; }
beside_dialog "print dialog" "Print" close_print_dialog "$printing" --print
GRAPHICS_PRINTER=nosuch beside_dialog "message box" "Graphics Library" close_box "$printing" --print
stop_desktop

# ---------------------------------------------------------------- losing the display
lose_display() {
  local name=$1 waitfor=$2
  shift 2
  start_desktop
  start "$@"
  if [ -z "$(find_window "$waitfor")" ]; then
    fail "$name: no window"
    stop_desktop
    return
  fi
  kill -9 "$server"
  { wait "$server"; } 2>/dev/null || true
  if ended_within 20; then
    # One line, however many connections (and processes) saw the loss.
    if [ "$status" -eq 1 ] && grep -qxF "graphics: lost the connection to the display $DISPLAY" "$work/err" &&
      [ "$(grep -c "lost the connection" "$work/err")" -eq 1 ]; then
      pass "$name: the lost display is told, status 1"
    else
      fail "$name: lost display: status $status"
    fi
  else
    fail "$name: still running 20 s after the display was lost"
    kill -9 "$pid" 2>/dev/null || true
  fi
  stop_desktop
}
for run in 1 2 3; do lose_display "frames (run $run)" "Desktop probe" "$probe" animate; done
lose_display "bouncing ball" "Bouncing ball" "$ball"
lose_display "idle wait" "Desktop probe" "$probe" await
lose_display "pause" "Desktop probe" "$probe" pause 60000
lose_display "print dialog" "Print" "$printing" --print
GRAPHICS_PRINTER=nosuch lose_display "message box" "Graphics Library" "$printing" --print

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "desktop: all checks passed"
