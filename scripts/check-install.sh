#!/usr/bin/env bash
# Uses the library as a student's own program would, from outside the tree,
# by each of the routes the README gives:
#   1. cmake --install to a temporary prefix, then find_package(kiva CONFIG)
#   2. the same prefix through pkg-config --cflags --libs kiva-graphics
#   3. FetchContent from this checkout (only the library is built)
#   4. the Debian package made by cpack, unpacked with dpkg -x, find_package
# The installed prefix and the package both hold the HTML reference.
# Each builds one example program (named `game`, as a student might: the
# project claims no such name), runs it on a virtual display and checks a
# pixel it drew.
# Usage: scripts/check-install.sh BUILD_DIR   (a finished Linux build)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
src=$(pwd)
build=$(realpath "$1")
if [ -z "${KIVA_INSTALL_CHECK_UNDER_XVFB:-}" ]; then
  export KIVA_INSTALL_CHECK_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$build"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run="bash $src/tools/examples/run_example.sh"

# pixel PNG X Y -> "R,G,B"
pixel() { convert "$1" -format "%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]" info:; }
expect_pixel() {  # expect_pixel WHAT PNG X Y R,G,B
  local seen; seen=$(pixel "$2" "$3" "$4")
  [ "$seen" = "$5" ] || { echo "FAIL: $1: pixel ($3, $4) is $seen, not $5"; exit 1; }
  echo "ok: $1"
}
# A project with one program, game, made of one example's source.
project() {  # project DIR EXAMPLE PREAMBLE
  mkdir -p "$1"
  cp "$src/examples/$2/$2.cpp" "$1/"
  cat >"$1/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.22)
project(student LANGUAGES CXX)
$3
add_executable(game $2.cpp)
target_link_libraries(game PRIVATE kiva::graphics)
CMAKE
}
build_project() {  # build_project DIR CMAKE-ARGS...
  local dir=$1; shift
  cmake -S "$dir" -B "$dir/build" "$@" >"$dir/configure.log" || { cat "$dir/configure.log"; exit 1; }
  cmake --build "$dir/build" -j 2 >"$dir/build.log" 2>&1 || { cat "$dir/build.log"; exit 1; }
}

echo "--- 1. installed package, find_package"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
[ -f "$work/prefix/include/kiva/graphics.h" ] || { echo "FAIL: graphics.h not installed"; exit 1; }
grep -q PauseMs "$work/prefix/share/doc/kiva/html/graphics_8h.html" ||
  { echo "FAIL: the HTML reference is not installed in share/doc/kiva/html"; exit 1; }
project "$work/find" shapes_colours "find_package(kiva CONFIG REQUIRED)"
build_project "$work/find" -DCMAKE_PREFIX_PATH="$work/prefix"
$run "$work/find/build/game" "$work/find.png"
expect_pixel "find_package: a gold rectangle" "$work/find.png" 80 60 255,215,0

echo "--- 2. pkg-config"
mkdir -p "$work/pc"
cp "$src/examples/mouse_clicks/mouse_clicks.cpp" "$work/pc/"
(cd "$work/pc" && PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" \
  g++ mouse_clicks.cpp -o game $(PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" pkg-config --cflags --libs kiva-graphics))
$run "$work/pc/game" "$work/pc.png" click:200,160
expect_pixel "pkg-config: a dot where the click was" "$work/pc.png" 200 160 255,69,0

echo "--- 3. FetchContent from this checkout"
project "$work/fetch" pixel_readback "include(FetchContent)
FetchContent_Declare(kiva SOURCE_DIR $src)
FetchContent_MakeAvailable(kiva)"
build_project "$work/fetch"
[ ! -e "$work/fetch/build/_deps/kiva-build/game" ] || { echo "FAIL: FetchContent built the game"; exit 1; }
$run "$work/fetch/build/game" "$work/fetch.png"
expect_pixel "FetchContent: the gradient" "$work/fetch.png" 122 100 63,128,192

echo "--- 4. Debian package"
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/*.deb)
info=$(dpkg-deb -I "$deb")
grep -q "Depends:.*libsdl2-dev" <<<"$info" || { echo "FAIL: the package names no dependencies"; exit 1; }
dpkg -x "$deb" "$work/root"
[ -f "$work/root/usr/share/doc/kiva/html/index.html" ] || { echo "FAIL: the package holds no HTML reference"; exit 1; }
project "$work/debuse" shapes_colours "find_package(kiva CONFIG REQUIRED)"
build_project "$work/debuse" -DCMAKE_PREFIX_PATH="$work/root/usr"
$run "$work/debuse/build/game" "$work/debuse.png"
expect_pixel "Debian package: a gold rectangle" "$work/debuse.png" 80 60 255,215,0
echo "All install routes work."
