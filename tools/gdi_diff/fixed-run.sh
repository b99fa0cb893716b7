#!/usr/bin/env bash
# The differential test's fixed run: a fixed set of random scenes drawn by
# the Linux build's gdi_diff and by the Windows build's under Wine must
# agree pixel for pixel. Run by the Windows build's CTest (under xvfb-run in
# scripts/test.sh), after the Linux build has been made.
#
# Usage: fixed-run.sh LINUX_GDI_DIFF WINDOWS_GDI_DIFF_EXE SOURCE_DIR [CASE_DIR]
set -uo pipefail
linux="$1" windows="$2" src="$3" cases="${4:-$(dirname "$windows")}"
if [ ! -x "$linux" ]; then
  echo "no Linux gdi_diff at $linux: build the Linux tree first (scripts/test.sh does)" >&2
  exit 1
fi
# Scenes of every kind, then more of text alone. Differences the tool puts
# down to Wine's own faults (tools/gdi_diff/blame.h) are listed, not counted.
"$linux" --server "'$src/scripts/wine-run.sh' '$windows' --serve" --out "$cases" \
  --seed 1 --scenes 3000 --kinds "${GDI_DIFF_KINDS:-LRQEPAWBGT}"
shapes=$?
"$linux" --server "'$src/scripts/wine-run.sh' '$windows' --serve" --out "$cases" \
  --seed 1 --scenes 500 --kinds T
text=$?
if [ "$shapes" -ne 0 ]; then exit "$shapes"; fi
exit "$text"
