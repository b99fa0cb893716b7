#!/usr/bin/env bash
# grade.sh - runs a graphics program as a grader would: no display, an input
# script, virtual time, snapshots, and a comparison of the snapshots with
# reference pictures (the share of pixels that agree, per picture).
#
# Usage: tools/grade/grade.sh [options] PROGRAM [ARGUMENTS...]
#   -i SCRIPT   input script for the program's windows (GRAPHICS_INPUT)
#   -s FILE     the program's standard input (default: none)
#   -f FRAMES   which frames to snapshot (GRAPHICS_SNAPSHOT_FRAMES; default all,close)
#   -n PATTERN  snapshot file names (default f-%05d.png)
#   -o DIR      where snapshots go (default: a new temporary folder)
#   -r DIR      reference pictures: every PNG there is compared with the
#               snapshot of the same name
#   -m          make references instead: copy the snapshots into the -r folder
#   -p PERCENT  pass mark for each picture (default 100: every pixel agrees)
#   -t SECONDS  time limit of the run (default 300)
#   -w RUNNER   start the program through RUNNER (say scripts/wine-run.sh)
# Exit status: 0 every picture passed, 1 a picture failed or is missing or
# the program did not end normally, 2 wrong usage.
set -uo pipefail

script="" stdin_file=/dev/null frames="all,close" pattern="f-%05d.png" out="" refs="" make=0
pass=100 limit=300 runner=""
while getopts "i:s:f:n:o:r:mp:t:w:" option; do
  case $option in
    i) script=$(realpath "$OPTARG") ;;
    s) stdin_file=$OPTARG ;;
    f) frames=$OPTARG ;;
    n) pattern=$OPTARG ;;
    o) out=$OPTARG ;;
    r) refs=$OPTARG ;;
    m) make=1 ;;
    p) pass=$OPTARG ;;
    t) limit=$OPTARG ;;
    w) runner=$OPTARG ;;
    *) sed -n '5,20p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { sed -n '5,20p' "$0" >&2; exit 2; }
[ -z "$out" ] && out=$(mktemp -d)
mkdir -p "$out"
rm -f "$out"/*.png

# No display: the library draws offscreen, and a wait that no input can end
# ends the program (status 3) instead of hanging the grader. A runner (Wine)
# keeps the display it needs; there the script is the only input that ends
# waits.
hide_display=(-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER)
[ -n "$runner" ] && hide_display=()
start=$(date +%s.%N)
env "${hide_display[@]}" \
  GRAPHICS_TIME=virtual GRAPHICS_SNAPSHOT="$out/$pattern" GRAPHICS_SNAPSHOT_FRAMES="$frames" \
  ${script:+GRAPHICS_INPUT="$script"} \
  timeout "$limit" $runner "$@" <"$stdin_file" >"$out/stdout.txt" 2>"$out/stderr.txt"
status=$?
seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
case $status in
  0) verdict="finished" ;;
  3) verdict="waited for input that never came" ;;
  4) verdict="refused a setting (see stderr.txt)" ;;
  124) verdict="did not end within $limit s" ;;
  *) verdict="failed" ;;
esac
echo "program: exit status $status ($verdict), $(ls "$out"/*.png 2>/dev/null | wc -l) snapshots in $out"
[ "$status" = 3 ] && grep -m1 "waits for input" "$out/stderr.txt"

failed=0
[ "$status" = 0 ] || failed=1
if [ -n "$refs" ] && [ "$make" = 1 ]; then
  mkdir -p "$refs"
  cp "$out"/*.png "$refs"/ 2>/dev/null
  echo "references: $(ls "$refs"/*.png 2>/dev/null | wc -l) pictures in $refs"
elif [ -n "$refs" ]; then
  compared=0 passed=0 missing=0
  for reference in "$refs"/*.png; do
    [ -e "$reference" ] || continue
    name=$(basename "$reference")
    compared=$((compared + 1))
    if [ ! -e "$out/$name" ]; then
      printf '%-24s missing\n' "$name"
      missing=$((missing + 1))
      continue
    fi
    if cmp -s "$reference" "$out/$name"; then
      agreement=100
    else
      pixels=$(identify -format '%[fx:w*h]' "$reference")
      wrong=$(compare -metric AE "$reference" "$out/$name" null: 2>&1 >/dev/null)
      [[ "$wrong" =~ ^[0-9]+$ ]] || wrong=$pixels  # sizes differ: nothing agrees
      agreement=$(awk -v p="$pixels" -v w="$wrong" 'BEGIN { printf "%.4f", 100 * (p - w) / p }')
    fi
    if awk -v a="$agreement" -v p="$pass" 'BEGIN { exit !(a >= p) }'; then
      passed=$((passed + 1))
      mark=pass
    else
      mark=FAIL
    fi
    printf '%-24s %9.4f%% of pixels agree  %s\n' "$name" "$agreement" "$mark"
  done
  echo "pictures: $compared compared, $passed passed, $missing missing (pass mark $pass%)"
  [ "$passed" = "$compared" ] && [ "$compared" -gt 0 ] || failed=1
fi
echo "graded in $seconds s"
exit $failed
