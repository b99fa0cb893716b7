#!/usr/bin/env bash
# Installs the Debian 12 packages this project needs to build, test and run,
# then fetches the libjpeg-turbo source the Windows build compiles
# (scripts/fetch-libjpeg-source.sh, into build/deps/libjpeg-turbo).
# Quiet when nothing is missing; says what it installs or fetches otherwise.
# Uses apt-get directly as root, sudo otherwise; never changes the host's
# package sources.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-liberation2
  libjpeg62-turbo-dev libgtest-dev googletest libbenchmark-dev libcairo2-dev
  xvfb xauth xdotool x11-utils imagemagick openbox wmctrl dpkg-dev debian-archive-keyring
  g++-mingw-w64-x86-64 wine wine64
  libgtk-3-dev libcups2-dev cups-daemon cups-client poppler-utils
  clang doxygen
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${SUDO[@]}" apt-get update -qq
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  echo "Installed: ${missing[*]}"
fi

bash scripts/fetch-libjpeg-source.sh
