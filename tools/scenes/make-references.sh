#!/usr/bin/env bash
# Makes the reference pictures of the drawing scenes: builds the scenes tool
# for Windows, runs it under Wine (real GDI) and stores its pictures and
# text extents in tests/reference/scenes/.
#
# Usage: tools/scenes/make-references.sh [BUILD_DIR]   (default build/scenes-win)
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(realpath -m "${1:-$src/build/scenes-win}")"
out="$src/tests/reference/scenes"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target scenes -j2
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
exe="$(find "$build" -name scenes.exe -print -quit)"
# Wine wants a Windows path for the output folder.
(cd "$tmp" && xvfb-run -a "$src/scripts/wine-run.sh" "$exe" .)
cp "$tmp"/*.ppm "$tmp"/text_extents.txt "$out"/
echo "references written to $out"
