#!/usr/bin/env bash
# Redraws the reference snapshots in tests/reference/snapshots/ with a
# Windows build under Wine, the reference for what the programs draw.
# tools/make-references.sh runs it (`snapshots`).
# Usage (Wine needs a display): xvfb-run -a tools/grade/snapshot-references.sh WINDOWS_BUILD
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
win="$(realpath "${1:-$src/build/windows}")"
refs="$src/tests/reference/snapshots"
grade=("$src/tools/grade/grade.sh" -w "$src/scripts/wine-run.sh" -m)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
rm -rf "$refs/sketch" "$refs/kiva"
"${grade[@]}" -i "$refs/sketch.txt" -n "s-%d.png" -r "$refs/sketch" -o "$out/sketch" "$win/examples/sketch/sketch.exe"
"${grade[@]}" -i "$refs/kiva.txt" -s "$refs/kiva-answers.txt" -f 1,11,21,31,41 -r "$refs/kiva" -o "$out/kiva" "$win/game/kiva.exe"
