#!/usr/bin/env bash
# The web build: installs the packages it needs (scripts/install-deps.sh:
# Emscripten, and Chromium with Python's websocket and imaging modules for
# the browser tests, among the project's others), fetches Debian's source
# packages of the libraries the library links (scripts/fetch-source.sh, into
# build/deps/), builds each for wasm as a static library into
# build/web/deps (include/, lib/, lib/pkgconfig/), then builds the game and
# every example as pages into build/web/pages (cmake/web-pages.cmake; the
# build folder is build/web/project) and says how to serve them on
# 127.0.0.1. A library already built from the same source with the same
# build steps is left alone, and the pages are rebuilt only where their
# sources changed, so a second run takes a moment. Prints how long each
# step took.
#
# Usage: scripts/web.sh
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/web-env.sh"
cd "$kiva_root"

times=()
timed() {  # timed NAME COMMAND...: runs COMMAND, notes its time under NAME
  local name=$1 start=$EPOCHREALTIME
  shift
  "$@"
  times+=("$(awk -v a="$start" -v b="$EPOCHREALTIME" -v n="$name" 'BEGIN { printf "%s %.1f s", n, b - a }')")
}

fetch_sources() {
  bash scripts/fetch-source.sh zlib=build/deps/zlib libpng1.6=build/deps/libpng1.6 \
    freetype=build/deps/freetype libjpeg-turbo=build/deps/libjpeg-turbo
}

work="$web_build/deps-build"  # intermediate files of the libraries' builds

# The libraries' own CMake builds: Release, static, installed into web_deps.
lib_cmake() {  # lib_cmake NAME CMAKE-ARGS...
  local name=$1
  shift
  rm -rf "${work:?}/$name"
  web_cmake -S "build/deps/$name" -B "$work/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$web_deps" -DBUILD_SHARED_LIBS=OFF "$@" >"$work/$name.log" 2>&1 || {
    cat "$work/$name.log" >&2
    return 1
  }
}
lib_make() {  # lib_make NAME [TARGET]
  cmake --build "$work/$1" -j 2 ${2:+--target "$2"} >>"$work/$1.log" 2>&1 || {
    cat "$work/$1.log" >&2
    return 1
  }
}

# zlib: Debian's source lacks what zlib's CMake build refers to (win32/), and
# that build renames zconf.h inside the source; its few files are compiled
# here directly.
build_zlib() {
  local src=build/deps/zlib obj="$work/zlib" f
  rm -rf "$obj" && mkdir -p "$obj" "$web_deps/include" "$web_deps/lib/pkgconfig"
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
    inflate inftrees trees uncompr zutil; do
    echo "$f"
  done | xargs -P 2 -I{} emcc -O3 -DNDEBUG -DHAVE_UNISTD_H -DHAVE_STDARG_H -c "$src/{}.c" -o "$obj/{}.o"
  rm -f "$web_deps/lib/libz.a"
  emar rcs "$web_deps/lib/libz.a" "$obj"/*.o
  cp "$src/zlib.h" "$src/zconf.h" "$web_deps/include/"
  local version
  version=$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$src/zlib.h")
  cat >"$web_deps/lib/pkgconfig/zlib.pc" <<PC
prefix=$web_deps
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: zlib
Description: zlib compression library (wasm)
Version: $version
Libs: -L\${libdir} -lz
Cflags: -I\${includedir}
PC
}

build_libpng() {
  lib_cmake libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -Dld-version-script=OFF \
    -DZLIB_INCLUDE_DIR="$web_deps/include" -DZLIB_LIBRARY="$web_deps/lib/libz.a"
  lib_make libpng1.6
  cmake --install "$work/libpng1.6" >>"$work/libpng1.6.log"
}

# FreeType with zlib, as Debian builds it (without, it compiles a copy of
# zlib of its own, which clashes with zlib's at the link), and without the
# other optional libraries: the fonts are plain TrueType files. With SSE2
# (which Emscripten maps onto wasm SIMD) its grey rasteriser flattens
# curves the way it does on x86-64; without, it splits them otherwise and
# about one glyph in twenty differs by a level here and there from Linux.
build_freetype() {
  lib_cmake freetype -DCMAKE_C_FLAGS="-msimd128 -msse2" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
    -DZLIB_INCLUDE_DIR="$web_deps/include" -DZLIB_LIBRARY="$web_deps/lib/libz.a"
  lib_make freetype
  cmake --install "$work/freetype" >>"$work/freetype.log"
}

# libjpeg-turbo, the libjpeg 6b interface as on Linux, without SIMD: only the
# static library is built (its installation would want the tools too).
build_libjpeg_turbo() {
  local src=build/deps/libjpeg-turbo bld="$work/libjpeg-turbo"
  lib_cmake libjpeg-turbo -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF
  lib_make libjpeg-turbo jpeg-static
  mkdir -p "$web_deps/include" "$web_deps/lib/pkgconfig"
  cp "$bld/libjpeg.a" "$web_deps/lib/"
  cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$bld/jconfig.h" "$web_deps/include/"
  cp "$bld/pkgscripts/libjpeg.pc" "$web_deps/lib/pkgconfig/"
}

# Builds NAME unless it was built from the same source version, by the same
# build function and compiler, and its library is still there.
build() {  # build NAME SOURCE-FOLDER LIBRARY
  local name=$1 src=$2 lib=$3 fn="build_${1//-/_}" stamp="$web_deps/.built/$1" key
  key="$(cat "build/deps/$src/.unpacked") $(declare -f "$fn" lib_cmake lib_make | sha1sum | cut -c1-12)"
  key+=" emscripten $emscripten_version"
  if [ -f "$web_deps/lib/$lib" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$key" ]; then
    times+=("$name up to date")
    return 0
  fi
  echo "Building $name for wasm"
  mkdir -p "$work" "$(dirname "$stamp")"
  rm -f "$stamp"
  timed "$name" "$fn"
  echo "$key" >"$stamp"
}

timed packages bash scripts/install-deps.sh web
emscripten_version=$(dpkg-query -W -f='${Version}' emscripten)
timed sources fetch_sources
build zlib zlib libz.a
build libpng libpng1.6 libpng16.a
build freetype freetype libfreetype.a
build libjpeg-turbo libjpeg-turbo libjpeg.a

build_pages() {
  local project="$web_build/project"
  if [ ! -f "$project/build.ninja" ]; then
    web_cmake -S . -B "$project" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKIVA_WEB_PAGES="$web_build/pages" \
      >"$web_build/project.log" 2>&1 || {
      cat "$web_build/project.log" >&2
      return 1
    }
  fi
  cmake --build "$project" -j 2
}
timed pages build_pages

summary=$(printf '%s; ' "${times[@]}")
echo "web.sh: ${summary%; }"
echo "web.sh: the pages are in build/web/pages (each also as one file in build/web/pages/single/, which opens from disk)."
echo "web.sh: serve them with: python3 -m http.server 8000 --bind 127.0.0.1 --directory build/web/pages"
echo "web.sh: then open http://127.0.0.1:8000/ (the game: http://127.0.0.1:8000/kiva.html)"
