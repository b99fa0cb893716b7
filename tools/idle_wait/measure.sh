#!/usr/bin/env bash
# Measures the processor time of an idle PauseMs and an idle AwaitClick:
# runs idle_wait on a virtual X display, clicks into its window two seconds
# into the wait and prints the tool's figures. Usage: measure.sh BUILD_DIR
# [SECONDS]
set -euo pipefail
exe="$(cd "$1" && pwd)/tools/idle_wait/idle_wait"
seconds="${2:-2}"
if [ -z "${IDLE_WAIT_UNDER_XVFB:-}" ]; then
  export IDLE_WAIT_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER
out=$(mktemp)
"$exe" >"$out" &
pid=$!
for _ in $(seq 300); do grep -q waiting "$out" && break; sleep 0.1; done
wid=$(xdotool search --sync --name "^Idle wait$" | head -1)
eval "$(xdotool getwindowgeometry --shell "$wid")"
sleep "$seconds"
xdotool mousemove $((X + 20)) $((Y + 20)) click 1
wait "$pid"
cat "$out"
rm -f "$out"
