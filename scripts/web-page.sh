#!/usr/bin/env bash
# A program of one's own on graphics.h as a web page, in one command:
#
#   scripts/web-page.sh PROGRAM.cpp [FILE...]
#
# builds PROGRAM.cpp (with the other .cpp files named after it) for the
# browser with the library, the files named (pictures the program loads,
# found by their names alone, as beside a program run from its folder)
# embedded, into build/web/mine/NAME/: NAME.html with NAME.js and NAME.wasm
# (to be served), and NAME-single.html, one file that opens from disk or
# can be sent to anyone. NAME is PROGRAM's name without .cpp. The page is
# cmake/web-shell.html: the program's windows, its console (standard
# output, and an input line for standard input) and a snapshot link on each
# window. A program whose sources hold characters beyond the Latin
# alphabets' also carries the faces that lend them (FALLBACK_FACES, about
# 12 MB). Runs scripts/web.sh first if the web build's libraries are not
# there yet.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/web-env.sh"

if [ $# -lt 1 ] || [[ $1 != *.cpp ]]; then
  echo "usage: scripts/web-page.sh PROGRAM.cpp [MORE.cpp...] [FILE...]" >&2
  exit 2
fi
name=$(basename "$1" .cpp)
sources=() files=()
for arg in "$@"; do
  [ -f "$arg" ] || { echo "web-page.sh: no file $arg" >&2; exit 2; }
  if [[ $arg == *.cpp ]]; then sources+=("$(realpath "$arg")"); else files+=("$(realpath "$arg")"); fi
done
[ -f "$web_deps/lib/libfreetype.a" ] || bash "$kiva_root/scripts/web.sh"

out="$web_build/mine/$name"
project="$out/project"
mkdir -p "$project"
embed=""
for f in "${files[@]}"; do embed+=" \"$f@/$(basename "$f")\""; done
# Sources that write characters beyond the Latin alphabets' (Chinese, a
# tick, ...) get the faces that lend them, as on Linux.
lenders=""
if LC_ALL=C.UTF-8 grep -qP '[^\x{0}-\x{24F}]' "${sources[@]}"; then lenders=" FALLBACK_FACES"; fi
cat >"$project/CMakeLists.txt.new" <<CMAKE
# Made by scripts/web-page.sh: $name as a web page.
cmake_minimum_required(VERSION 3.22)
project($name C CXX)
add_subdirectory("$kiva_root" kiva EXCLUDE_FROM_ALL)
add_executable($name $(printf '"%s" ' "${sources[@]}"))
target_link_libraries($name PRIVATE kiva::graphics)
set_target_properties($name PROPERTIES RUNTIME_OUTPUT_DIRECTORY "$out")
kiva_add_web_page($name SINGLE_COPY "$out/$name-single.html"$lenders${embed:+ EMBED$embed})
CMAKE
cmp -s "$project/CMakeLists.txt.new" "$project/CMakeLists.txt" || mv "$project/CMakeLists.txt.new" "$project/CMakeLists.txt"
rm -f "$project/CMakeLists.txt.new"
if [ ! -f "$project/build/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  web_cmake -S "$project" -B "$project/build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
    >"$project/configure.log" 2>&1 || {
    cat "$project/configure.log" >&2
    exit 1
  }
fi
cmake --build "$project/build" -j 2
echo "web-page.sh: $out/$name.html (serve it: python3 -m http.server 8000 --bind 127.0.0.1 --directory $out,"
echo "web-page.sh: then open http://127.0.0.1:8000/$name.html); one file that opens from disk: $out/$name-single.html"
