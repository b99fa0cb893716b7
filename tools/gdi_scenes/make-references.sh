#!/usr/bin/env bash
# Makes the reference pictures of the GDI scenes: builds gdi_scenes for
# Windows, runs it under Wine (real GDI) and stores the pictures in
# tests/reference/gdi/.
#
# Usage: tools/gdi_scenes/make-references.sh [BUILD_DIR]   (default build/h2-win)
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$src/build/h2-win}"
out="$src/tests/reference/gdi"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target gdi_scenes -j2
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
exe="$(find "$build" -name gdi_scenes.exe -print -quit)"
(cd "$tmp" && xvfb-run -a "$src/scripts/wine-run.sh" "$exe" .)
cp "$tmp"/*.ppm "$out"/
echo "references written to $out"
