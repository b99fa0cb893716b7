#!/usr/bin/env bash
# The browser tests. Builds the web test page (tests/web/page, with
# cmake/web.cmake, into build/web/tests/page) and the same program natively,
# then drives the page in headless Chromium (canvas_page_test.py); then, with
# the pages of the game and the examples that scripts/web.sh builds (brought
# up to date here) and the Linux build in LINUX_BUILD, compares them in the
# browser (pages_test.py). Needs what scripts/web.sh installs and builds;
# without it, says so and exits 77 (skipped).
# Usage: tests/web/run.sh [LINUX_BUILD]   (default build/linux)
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
/usr/bin/python3 tests/web/canvas_page_test.py "$build" "$native" "$font" || exit 1

linux=${1:-build/linux}
for program in game/kiva examples/bouncing_ball/bouncing_ball tests/fallback_text tests/closing_picture; do
  [ -x "$linux/$program" ] || { echo "FAIL: no Linux build in $linux ($program is missing)"; exit 1; }
done
project="$web_build/project"
[ -f "$project/build.ninja" ] || web_cmake -S . -B "$project" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKIVA_WEB_PAGES="$web_build/pages" >"$web_build/project.log" 2>&1 || {
  cat "$web_build/project.log"
  exit 1
}
cmake --build "$project" -j 2 >"$web_build/pages.log" 2>&1 || {
  tail -40 "$web_build/pages.log"
  exit 1
}
exec /usr/bin/python3 tests/web/pages_test.py "$web_build/pages" "$linux" .
