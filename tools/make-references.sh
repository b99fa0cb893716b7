#!/usr/bin/env bash
# Makes the reference pictures the reference tests compare with: builds a
# scene tool for Windows, runs it under Wine (real GDI) and stores what it
# writes in tests/reference/:
#   scenes        drawing through graphics.h  -> tests/reference/scenes/ (with text_extents.txt)
#   gdi_scenes    Win32 GDI calls             -> tests/reference/gdi/
#   image_scenes  pictures drawn and captured -> tests/reference/images/
#   snapshots     scripted headless runs of examples/sketch and the game
#                 (tools/grade/snapshot-references.sh) -> tests/reference/snapshots/
# The Windows build needs the libjpeg-turbo source scripts/install-deps.sh
# fetches.
#
# Usage: tools/make-references.sh [TOOL...] [--build BUILD_DIR]
#        (default: all four, build folder build/references-win)
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$src/build/references-win"
tools=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$(realpath -m "${2:?--build needs a folder}")"; shift 2 ;;
    scenes|gdi_scenes|image_scenes|snapshots) tools+=("$1"); shift ;;
    *) echo "usage: $0 [scenes|gdi_scenes|image_scenes|snapshots...] [--build BUILD_DIR]" >&2; exit 2 ;;
  esac
done
[ ${#tools[@]} -gt 0 ] || tools=(scenes gdi_scenes image_scenes snapshots)

cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >/dev/null
targets=("${tools[@]/snapshots/kiva sketch picture_files}")
cmake --build "$build" --target ${targets[*]} -j2
for tool in "${tools[@]}"; do
  if [ "$tool" = snapshots ]; then
    xvfb-run -a bash "$src/tools/grade/snapshot-references.sh" "$build"
    continue
  fi
  case "$tool" in
    scenes) out="$src/tests/reference/scenes"; files=("*.ppm" text_extents.txt) ;;
    gdi_scenes) out="$src/tests/reference/gdi"; files=("*.ppm") ;;
    image_scenes) out="$src/tests/reference/images"; files=("*.ppm") ;;
  esac
  tmp="$(mktemp -d)"
  exe="$(find "$build" -name "$tool.exe" -print -quit)"
  # Wine wants a Windows path for the output folder: the tool writes into ".".
  (cd "$tmp" && xvfb-run -a "$src/scripts/wine-run.sh" "$exe" . >/dev/null)
  mkdir -p "$out"
  (cd "$tmp" && cp ${files[*]} "$out"/)
  rm -rf "$tmp"
  echo "$tool: references written to $out"
done
