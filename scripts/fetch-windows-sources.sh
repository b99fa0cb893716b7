#!/usr/bin/env bash
# Fetches Debian's source packages of the libraries the Windows build
# compiles itself with the MinGW-w64 cross compiler (and the fuzz build with
# clang): libjpeg-turbo, zlib and libpng1.6, into DEST/libjpeg-turbo,
# DEST/zlib and DEST/libpng1.6 (DEST defaults to build/deps). The web build
# compiles the same folders with Emscripten. scripts/install-deps.sh runs
# this; see scripts/fetch-source.sh.
#
# Usage: fetch-windows-sources.sh [DEST]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dest="${1:-$root/build/deps}"
exec bash "$root/scripts/fetch-source.sh" "libjpeg-turbo=$dest/libjpeg-turbo" "zlib=$dest/zlib" \
  "libpng1.6=$dest/libpng1.6"
