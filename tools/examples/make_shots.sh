#!/usr/bin/env bash
# Makes the example programs' screenshots in docs/examples/ by running each
# built example on a virtual display, with a little input for the
# interactive ones, so that the pictures always show the examples as they
# are. Usage: tools/examples/make_shots.sh [BUILD_DIR]   (default build/linux)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build=$(realpath "${1:-build/linux}")
if [ -z "${KIVA_SHOTS_UNDER_XVFB:-}" ]; then
  export KIVA_SHOTS_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$build"
fi
run=tools/examples/run_example.sh
out=docs/examples
mkdir -p "$out"
shot() { local name=$1; shift; echo "$name"; bash $run "$build/examples/$name/$name" "$out/$name.png" "$@"; }

shot shapes_colours
shot text_fonts
shot mouse_clicks click:80,90 click:200,160 click:330,220
shot keyboard_move key:Right key:Right key:Right key:Down key:Down key:Up key:Right
shot bouncing_ball sleep:0.7
shot picture
shot pixel_readback click:120,100
shot two_windows
