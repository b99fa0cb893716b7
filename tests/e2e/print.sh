#!/usr/bin/env bash
# End to end: printing through a real print service. Starts a CUPS scheduler
# of its own (own configuration folder and socket, CUPS_SERVER pointing at
# it) with a default queue whose backend writes each job to a folder; runs
# examples/print_picture on a virtual X display, presses P, accepts GTK's
# print dialog with xdotool, and checks that the job arrived and that its
# page, rasterised, shows the picture. Then prints again without a display
# through GRAPHICS_PRINTER, and checks that a queue that does not exist is
# told and prints nothing; that a print service killed while the document is
# sent, frozen before printing, or not listening at all is told, once, as
# such; and that a failure is told once.
# Last, with the print service out of reach, the dialog still offers "Print
# to File", which writes a PDF.
# Usage: print.sh BUILD_DIR SOURCE_DIR   (as root, as CI runs it)
set -euo pipefail
build=$(cd "$1" && pwd)
exe="$build/examples/print_picture/print_picture"
[ -x "$exe" ] || { echo "missing $exe"; exit 1; }
for tool in cupsd lpadmin pdftoppm xdotool convert; do
  command -v "$tool" >/dev/null || PATH=$PATH:/usr/sbin
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

if [ -z "${PRINT_E2E_UNDER_XVFB:-}" ]; then
  export PRINT_E2E_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER GRAPHICS_PRINT_FILE GRAPHICS_PRINTER

work=$(mktemp -d)
chmod 755 "$work"
cupsd_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$cupsd_pid" ] && kill -CONT "$cupsd_pid" 2>/dev/null && kill "$cupsd_pid" 2>/dev/null &&
    wait "$cupsd_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for f in "$work"/app.out "$work"/error_log; do
    [ -f "$f" ] && { echo "--- $f (end)"; tail -n 30 "$f"; }
  done
  exit 1
}

# ---------------------------------------------------------------- the scheduler
mkdir -p "$work"/{spool,cache,state,tmp,serverbin/backend,serverbin/daemon,serverbin/filter,jobs,ppd}
ln -s /usr/lib/cups/daemon/cups-exec "$work/serverbin/daemon/cups-exec"
cat >"$work/serverbin/backend/capture" <<'SH'
#!/bin/sh
# A backend that keeps each job: capture:FOLDER writes FOLDER/job-ID.
[ $# -eq 0 ] && { echo 'direct capture "Unknown" "Job capture"'; exit 0; }
dir=${DEVICE_URI#capture:}
if [ -n "$6" ]; then cat "$6"; else cat; fi >"$dir/.job-$1" && mv "$dir/.job-$1" "$dir/job-$1"
SH
chmod 700 "$work/serverbin/backend/capture"
cat >"$work/cups-files.conf" <<CONF
ServerRoot $work
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
TempDir $work/tmp
ServerBin $work/serverbin
DataDir /usr/share/cups
AccessLog $work/access_log
ErrorLog $work/error_log
PageLog $work/page_log
SystemGroup root
FileDevice Yes
CONF
cat >"$work/cupsd.conf" <<CONF
Listen $work/cups.sock
LogLevel debug
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
export CUPS_SERVER="$work/cups.sock"
# Starts the scheduler with its queue (again after a kill, which may leave
# the queue unsaved).
start_cupsd() {
  rm -f "$work/cups.sock"
  cupsd -f -c "$work/cupsd.conf" -s "$work/cups-files.conf" &
  cupsd_pid=$!
  for _ in $(seq 100); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
  lpstat -r >/dev/null 2>&1 || fail "cupsd did not start"
  lpadmin -p kiva_capture -E -v "capture:$work/jobs" 2>>"$work/lpadmin.err" || fail "lpadmin: $(cat "$work/lpadmin.err")"
  lpadmin -d kiva_capture
}
start_cupsd
chmod 777 "$work/jobs"

count_near() {  # HISTOGRAM R G B: pixels within 2 levels of the colour
  echo "$1" | tr '(,):' '    ' | awk -v r="$2" -v g="$3" -v b="$4" '
    function near(a, c) { return a - c <= 2 && c - a <= 2 }
    near($2, r) && near($3, g) && near($4, b) { n += $1 } END { print n + 0 }'
}

# Waits for the job file $1 and checks that its page shows the picture:
# large areas of the sky's and the sea's colours (within 2 levels).
check_job() {
  local job=$1
  for _ in $(seq 100); do [ -f "$job" ] && break; sleep 0.1; done
  [ -f "$job" ] || fail "job $1 did not arrive"
  head -c 5 "$job" | grep -q '%PDF-' || fail "job $1 is not a PDF: $(head -c 20 "$job" | od -c | head -2)"
  pdftoppm -r 40 -singlefile "$job" "$work/page" || fail "job $1 does not rasterise"
  local hist sky sea total
  hist=$(convert "$work/page.ppm" -format %c histogram:info:-)
  sky=$(count_near "$hist" 135 206 235)
  sea=$(count_near "$hist" 0 0 128)
  total=$(identify -format '%[fx:w*h]' "$work/page.ppm")
  echo "$(basename "$job"): $(stat -c %s "$job") bytes; sky $sky, sea $sea of $total pixels"
  [ $((sky * 100 / total)) -ge 10 ] && [ $((sea * 100 / total)) -ge 5 ] || fail "job $1 does not show the picture"
}

# ---------------------------------------------------------------- with the dialog
# Starts the example, presses P and waits for the dialog: sets $wid, $dialog.
open_dialog() {
  (cd "$work" && exec "$exe") >"$work/app.out" 2>&1 &
  app_pid=$!
  for _ in $(seq 100); do grep -qx ready "$work/app.out" && break; sleep 0.1; done
  wid=$(xdotool search --sync --name "^Print picture$" | head -1)
  [ -n "$wid" ] || fail "no window"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool mousemove $((X + 500)) $((Y + 300))
  xdotool windowfocus --sync "$wid"
  start=$(date +%s%N)
  xdotool key p
  dialog=$(timeout 20 xdotool search --sync --name "^Print$" | head -1) || true
  [ -n "$dialog" ] || fail "no print dialog"
}

# Presses the dialog's default button, Print, until the dialog has gone:
# it takes Return once the dialog has read the printer's details.
accept_dialog() {
  sleep 1
  for _ in $(seq 40); do
    xdotool windowfocus --sync "$dialog" 2>/dev/null || break
    xdotool key --window "$dialog" Return 2>/dev/null || break
    sleep 0.25
    grep -q '^Print returned' "$work/app.out" && break
    xdotool search --name "^Print$" >/dev/null 2>&1 || break
  done
  for _ in $(seq 100); do grep -q '^Print returned' "$work/app.out" && break; sleep 0.1; done
  grep -q '^Print returned' "$work/app.out" || fail "Print did not return"
  echo "P to Print's return $(( ($(date +%s%N) - start) / 1000000 )) ms (dialog driven by xdotool); $(grep '^Print returned' "$work/app.out")"
}

close_example() {
  xdotool windowfocus --sync "$wid"
  xdotool key q
  wait "$app_pid" || fail "exit status $?"
  app_pid=
}

# The queue is the default printer, selected when the dialog opens.
open_dialog
# PRINT_E2E_SHOT=FILE.png keeps a picture of the screen with the dialog.
if [ -n "${PRINT_E2E_SHOT:-}" ]; then sleep 1.5; import -window root "$PRINT_E2E_SHOT"; fi
accept_dialog
check_job "$work/jobs/job-1"
close_example

# ---------------------------------------------------------------- without a display
(unset DISPLAY; GRAPHICS_PRINTER=kiva_capture "$exe" --print >"$work/app.out" 2>&1) || fail "exit status $?"
grep '^Print returned' "$work/app.out" || fail "no print without a display"
check_job "$work/jobs/job-2"

(unset DISPLAY; GRAPHICS_PRINTER=kiva_no_such_queue "$exe" --print >"$work/app.out" 2>&1) || fail "exit status $?"
grep -q 'GRAPHICS_PRINTER names the printer "kiva_no_such_queue"' "$work/app.out" || fail "the missing queue was not told"
sleep 0.5
[ ! -e "$work/jobs/job-3" ] || fail "a job for a missing queue"

# ---------------------------------------------------------------- a print service that dies or freezes
# Without a display the box goes to standard error. Each failure is told
# exactly once, and the program goes on to its end.
print_headless() {  # [VARIABLE=VALUE...]: prints once to kiva_capture
  (unset DISPLAY; env "$@" GRAPHICS_PRINTER=kiva_capture timeout 150 "$exe" --print >"$work/app.out" 2>&1) ||
    fail "exit status $? (124: Print did not return)"
}
told_once() {  # PATTERN
  [ "$(grep -c "$1" "$work/app.out")" -eq 1 ] || fail "not told once: $1"
  [ "$(grep -c 'Nothing was printed' "$work/app.out")" -eq 1 ] || fail "told more than once"
}
# Killed while the document is sent: before it starts, and once all of it
# is written but before the scheduler has read it or answered.
for step in StartDocument FinishDocument; do
  print_headless LD_PRELOAD="$build/tests/e2e/libcups_step_fault.so" KIVA_CUPS_FAULT="$step KILL $cupsd_pid"
  told_once "Nothing was printed: the print service at $CUPS_SERVER broke off the connection"
  wait "$cupsd_pid" 2>/dev/null || true
  start_cupsd
done
# Frozen before printing: told once the wait for its answer is over.
kill -STOP "$cupsd_pid"
print_headless
kill -CONT "$cupsd_pid"
told_once "Nothing was printed: .*the print service at $CUPS_SERVER did not answer within 30 seconds"
# Nothing listening at all.
print_headless CUPS_SERVER=127.0.0.1:1
told_once "the print service at 127.0.0.1:1 cannot be reached: Connection refused"
# A file that cannot grow beyond 1 KB fails while the page is written.
(trap '' XFSZ; ulimit -f 1; print_headless GRAPHICS_PRINT_FILE="$work/small.pdf")
told_once 'Nothing was printed: cannot write'

# ---------------------------------------------------------------- no print service
# The dialog lists "Print to File" alone; a click selects it (the first row
# of the printer list) and GTK writes output.pdf in the working folder
# (which is also HOME here).
export CUPS_SERVER="$work/no-cupsd.sock"
HOME="$work" open_dialog
eval "$(xdotool getwindowgeometry --shell "$dialog")"
sleep 1
xdotool mousemove $((X + 80)) $((Y + 82)) click 1
accept_dialog
check_job "$work/output.pdf"
close_example
echo "print: jobs through the dialog, through GRAPHICS_PRINTER and to a file arrived and show the picture"
