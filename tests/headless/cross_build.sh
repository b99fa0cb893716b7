#!/usr/bin/env bash
# Snapshots of scripted runs against reference snapshots made by the Windows
# build under Wine (tools/make-references.sh snapshots): the sketch example and
# the game (nation, speed and paddle moves scripted) must give the very same
# bytes on both builds; the game's frames also go through the grader.
# Usage: cross_build.sh BUILD_DIR SOURCE_DIR [RUNNER]  (RUNNER: scripts/wine-run.sh for the Windows build)
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
runner=${3:+$(realpath "$3")}
exe=${runner:+.exe}
references=$source/tests/reference/snapshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
grade() { bash "$source/tools/grade/grade.sh" ${runner:+-w "$runner"} -t 300 "$@"; }

grade -i "$references/sketch.txt" -n "s-%d.png" -o "$work/sketch" "$build/examples/sketch/sketch$exe" ||
  fail "sketch did not end normally"
for reference in "$references"/sketch/*.png; do
  cmp "$reference" "$work/sketch/$(basename "$reference")" || fail "sketch: $(basename "$reference") differs"
done

grade -i "$references/kiva.txt" -s "$references/kiva-answers.txt" -f 1,11,21,31,41 -r "$references/kiva" \
  -p 100 -o "$work/kiva" "$build/game/kiva$exe" || fail "the game's frames do not agree with the references"
for reference in "$references"/kiva/*.png; do
  cmp "$reference" "$work/kiva/$(basename "$reference")" || fail "kiva: $(basename "$reference") differs"
done

[ "$failures" = 0 ] && echo "cross_build: all checks passed"
exit $((failures > 0))
