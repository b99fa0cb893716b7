#!/usr/bin/env bash
# Installs the Debian 12 packages one use of this project needs, and nothing
# more. Profiles:
#   build  (the default) build and run the library, the game and the
#          examples: compiler, CMake, SDL2, FreeType, fontconfig, the fonts
#          (Liberation, and DejaVu, Droid Sans Fallback and Symbola for the
#          characters Liberation lacks),
#          libjpeg, libpng, and the GTK, cairo and CUPS headers that the
#          printing module is built with. scripts/play.sh and the library's
#          routes in the README use it.
#   test   everything scripts/test.sh needs on top: GoogleTest, Google
#          Benchmark, Xvfb and the desktop tools the end-to-end tests drive,
#          a CUPS scheduler, clang and libFuzzer, Doxygen, MinGW-w64 and Wine
#          for the Windows build (whose libjpeg-turbo, zlib and libpng
#          sources it then fetches: scripts/fetch-windows-sources.sh, into
#          build/deps/),
#          and what the web build and its browser tests need.
#   web    on top of build: Emscripten, and Chromium with Python's websocket
#          and imaging modules for the browser tests (scripts/web.sh).
# Quiet when nothing is missing; says what it installs otherwise. Uses
# apt-get directly as root, sudo otherwise; never changes the host's package
# sources.
#
# Usage: install-deps.sh [build|test|web]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

profile=${1:-build}
build_packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libfreetype-dev libfontconfig-dev fonts-liberation2
  fonts-dejavu-core fonts-droid-fallback fonts-symbola  # faces that lend missing characters
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libgtk-3-dev libcairo2-dev libcups2-dev
)
web_packages=(
  dpkg-dev debian-archive-keyring  # Debian's library sources, built for wasm
  emscripten chromium python3-websocket python3-pil
)
test_packages=(
  libgtest-dev googletest libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick openbox wmctrl
  cups-daemon cups-client poppler-utils
  clang libclang-rt-14-dev doxygen
  g++-mingw-w64-x86-64 wine wine64
  "${web_packages[@]}"
)
case "$profile" in
  build) packages=("${build_packages[@]}") ;;
  web) packages=("${build_packages[@]}" "${web_packages[@]}") ;;
  test) packages=("${build_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [build|test|web]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages ($profile): ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${SUDO[@]}" apt-get update -qq
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  echo "Installed: ${missing[*]}"
fi

if [ "$profile" = test ]; then
  bash scripts/fetch-windows-sources.sh
fi
