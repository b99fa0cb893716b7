#!/usr/bin/env bash
# Makes the reference pictures of the picture scenes: builds the image_scenes
# tool for Windows, runs it under Wine (real GDI) and stores its pictures in
# tests/reference/images/.
#
# Usage: tools/image_scenes/make-references.sh [BUILD_DIR]   (default build/h4-win)
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$src/build/h4-win}"
out="$src/tests/reference/images"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target image_scenes -j2
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
exe="$(find "$build" -name image_scenes.exe -print -quit)"
(cd "$tmp" && xvfb-run -a "$src/scripts/wine-run.sh" "$exe" .)
cp "$tmp"/*.ppm "$out"/
echo "references written to $out"
