#!/usr/bin/env bash
# Runs one example program headless, the way its screenshot is made and the
# tests run it: no display, virtual time, its own input script
# (examples/NAME/input.txt) as its only input, in its build folder (so that
# it finds the files beside it), printing to OUTDIR/print.pdf.
#
# The script's line "# screenshot: close" or "# screenshot: N [M...]" names
# the snapshots its screenshot is made of: the window as it closes, or
# frames N, M ... (side by side). Only those are written, into OUTDIR.
#
# Usage: run_headless.sh BUILD_DIR SOURCE_DIR NAME OUTDIR
# Writes OUTDIR/stdout.txt and OUTDIR/stderr.txt (the program's standard
# error without the library's note that no display exists, which every such
# run gives; the library's warnings stay on, whatever GRAPHICS_WARNINGS the
# caller has), prints the snapshot files of the screenshot (one a line, left
# to right) on standard output and exits with the program's status (124
# when it was stopped after 120 s).
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
name=$3
out=$(realpath -m "$4")
script=$source/examples/$name/input.txt
program=$build/examples/$name/$name
[ -f "$script" ] || { echo "run_headless.sh: no input script $script" >&2; exit 2; }
[ -x "$program" ] || { echo "run_headless.sh: no program $program" >&2; exit 2; }

shot=$(sed -n 's/^# screenshot: *//p' "$script" | head -1)
case $shot in
  close) frames=close ;;
  [0-9]*) frames=$(tr ' ' ',' <<<"$shot") ;;
  *) echo "run_headless.sh: $script has no \"# screenshot: close\" or \"# screenshot: N\" line" >&2; exit 2 ;;
esac

mkdir -p "$out"
rm -f "$out"/s-*.png
# In a sanitizer build the leak checker would list the known leaks it was
# told to pass over (fontconfig's) on standard error: not the program's.
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0
(cd "$(dirname "$program")" &&
  exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u GRAPHICS_FPS -u GRAPHICS_RECORD -u GRAPHICS_PRINTER -u GRAPHICS_WARNINGS \
    GRAPHICS_TIME=virtual GRAPHICS_INPUT="$script" GRAPHICS_SNAPSHOT="$out/s-%d.png" \
    GRAPHICS_SNAPSHOT_FRAMES="$frames" GRAPHICS_PRINT_FILE="$out/print.pdf" \
    timeout 120 "$program") </dev/null >"$out/stdout.txt" 2>"$out/stderr-all.txt"
status=$?
grep -vxF "graphics: no display available; windows are drawn offscreen" "$out/stderr-all.txt" >"$out/stderr.txt"
rm -f "$out/stderr-all.txt"

if [ "$frames" = close ]; then
  ls "$out"/s-*-close.png 2>/dev/null
else
  for frame in $shot; do echo "$out/s-$frame.png"; done
fi
exit $status
