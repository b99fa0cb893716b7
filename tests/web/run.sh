#!/usr/bin/env bash
# Builds the web test page (tests/web/page, with cmake/web.cmake, into
# build/web/tests/page) and the same program natively, then drives the page
# in headless Chromium (canvas_page_test.py). Needs what scripts/web.sh
# installs and builds; without it, says so and exits 77 (skipped).
# Usage: tests/web/run.sh
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/web-env.sh"
cd "$kiva_root"

missing=()
command -v emcc >/dev/null || missing+=(emscripten)
[ -x /usr/bin/chromium ] || missing+=(chromium)
/usr/bin/python3 -c 'import websocket, PIL' 2>/dev/null || missing+=("python3-websocket python3-pil")
[ -f "$web_deps/lib/libfreetype.a" ] || missing+=("the libraries in $web_deps")
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: the web tests need ${missing[*]} (run scripts/web.sh)"
  exit 77
fi

build="$web_build/tests/page"
font=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
mkdir -p "$build"
[ -f "$build/build.ninja" ] || web_cmake -S tests/web/page -B "$build" -G Ninja >"$build/configure.log" 2>&1 || {
  cat "$build/configure.log"
  exit 1
}
cmake --build "$build"
native="$build/canvas_page_native"
if [ ! -x "$native" ] || [ tests/web/page/canvas_page.cpp -nt "$native" ]; then
  # shellcheck disable=SC2046
  g++ -std=c++17 -O1 -Wall tests/web/page/canvas_page.cpp -o "$native" \
    $(pkg-config --cflags --libs freetype2 libpng libjpeg)
fi
exec /usr/bin/python3 tests/web/canvas_page_test.py "$build" "$native" "$font"
