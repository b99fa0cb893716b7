#!/usr/bin/env bash
# Makes the example programs' screenshots in docs/examples/ (NAME.png) by
# running each example headless with its input script
# (tools/examples/run_headless.sh): no display is needed, and the same build
# gives the same bytes on every run. A screenshot of several frames puts
# them side by side, 10 pixels apart (ImageMagick's convert).
# Usage: tools/examples/make_shots.sh [BUILD_DIR [NAME...]]   (default
# build/linux and every example)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build=$(realpath "${1:-build/linux}")
shift || true
names=("$@")
if [ ${#names[@]} = 0 ]; then
  for folder in examples/*/; do
    [ -f "$folder/CMakeLists.txt" ] && names+=("$(basename "$folder")")
  done
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs/examples

for name in "${names[@]}"; do
  status=0
  files=$(bash tools/examples/run_headless.sh "$build" . "$name" "$work/$name") || status=$?
  if [ "$status" != 0 ] || [ -s "$work/$name/stderr.txt" ]; then
    echo "$name: status $status"; cat "$work/$name/stderr.txt"; exit 1
  fi
  mapfile -t shots <<<"$files"
  for shot in "${shots[@]}"; do
    [ -f "$shot" ] || { echo "$name: no snapshot $shot"; exit 1; }
  done
  if [ ${#shots[@]} = 1 ]; then
    cp "${shots[0]}" "docs/examples/$name.png"  # the library's own PNG, as it wrote it
  else
    convert "${shots[@]}" -background white -splice 10x0 +append -chop 10x0 -strip \
      -define png:exclude-chunks=date,time "docs/examples/$name.png"
  fi
  echo "docs/examples/$name.png"
done
