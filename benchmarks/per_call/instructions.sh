#!/bin/bash
# Instructions per call of the library's per-pixel and small-figure calls,
# counted by valgrind's callgrind while per_call runs: the same figure on
# every run and machine, where the ns of per_call itself move by a tenth
# from run to run. What the window service spends showing the drawing (about
# 60 times a second, far more often per call under valgrind's slowness) is
# counted apart and taken out, so the figures are the calls' own.
#
#   bash benchmarks/per_call/instructions.sh [build folder] [calls]
#
# The build folder defaults to build/linux, calls to 20000 (each loop of
# per_call runs five times: about 20 s under valgrind).
set -euo pipefail

build=${1:-build/linux}
calls=${2:-20000}
program=$build/benchmarks/per_call/per_call
if [ ! -x "$program" ]; then
  echo "instructions.sh: $program is not built (cmake --build $build --target per_call)" >&2
  exit 2
fi
for tool in valgrind callgrind_annotate; do
  if ! command -v "$tool" > /dev/null; then
    echo "instructions.sh: $tool is needed (Debian package valgrind)" >&2
    exit 2
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each call of PresentDirty is counted under the chain of its callers, so
# the part of a library call's count that showed the drawing can be found.
SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} valgrind --tool=callgrind "--separate-callers8=*PresentDirty*" \
  --callgrind-out-file="$work/out" "$program" "$calls" > "$work/log" 2>&1 ||
  { cat "$work/log" >&2; exit 1; }
callgrind_annotate --inclusive=yes --threshold=100 "$work/out" > "$work/inclusive" 2> /dev/null
callgrind_annotate --auto=yes --threshold=100 "$work/out" > "$work/calls" 2> /dev/null

# The instructions of one call of `function` made by the benchmark's loops
# (its calls from main), less what showing the drawing took inside it.
per_call() {
  local function=$1 name=$2
  local shown
  shown=$(grep -F "PresentDirty" "$work/inclusive" | grep -F "'window::$name(" |
          awk '{gsub(",", "", $1); s += $1} END {print s + 0}')
  grep -F "=> " "$work/calls" | grep -F "$function" |
    awk -v shown="$shown" '{gsub(",", "", $1); n = $NF; gsub(/[(),x]/, "", n); s += $1; k += n}
                           END {if (k == 0) print "-"; else printf "%.0f\n", (s - shown) / k}'
}

setPen=$(per_call 'window::SetPen(unsigned char, unsigned char, unsigned char, int)' SetPen)
drawPoint=$(per_call 'window::DrawPoint(int, int)' DrawPoint)
getColor=$(per_call 'window::GetColor(int, int)' GetColor)
rectangle=$(per_call 'window::DrawRectangle(int, int, int, int, drawstyle, int, int)' DrawRectangle)
text=$(per_call 'window::DrawString(int, int, char const*)' DrawString)
pollKey=$(per_call 'window::PollKey(char&)' PollKey)

echo "instructions per call ($program, callgrind, presenting taken out):"
printf '  %-28s %8s\n' "SetPen" "$setPen" "DrawPoint" "$drawPoint" "GetColor" "$getColor" \
  "DrawRectangle 10 x 10" "$rectangle" "DrawString (both texts)" "$text" "PollKey" "$pollKey"
if [ "$setPen" != - ] && [ "$drawPoint" != - ] && [ "$getColor" != - ]; then
  awk -v s="$setPen" -v d="$drawPoint" -v g="$getColor" \
    'BEGIN {printf "  SetPen + DrawPoint %d; GetColor is %.2f of it\n", s + d, g / (s + d)}'
fi
