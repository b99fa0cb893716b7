#!/usr/bin/env bash
# Fetches Debian's libjpeg-turbo source package into DEST (default
# build/deps/libjpeg-turbo), where the Windows build compiles the JPEG
# library from with the MinGW-w64 cross compiler (and the web build with
# Emscripten). scripts/install-deps.sh runs this; see scripts/fetch-source.sh.
#
# Usage: fetch-libjpeg-source.sh [DEST]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exec bash "$root/scripts/fetch-source.sh" "libjpeg-turbo=${1:-$root/build/deps/libjpeg-turbo}"
