#!/usr/bin/env bash
# Installs the Debian 12 packages this project needs to build, test and run.
# Quiet when nothing is missing; says what it installs otherwise.
# Uses apt-get directly as root, sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-liberation2
  libjpeg62-turbo-dev libgtest-dev googletest libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick dpkg-dev
  g++-mingw-w64-x86-64 wine wine64
  libgtk-3-dev libcairo2-dev libcups2-dev cups-daemon cups-client poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "Installed: ${missing[*]}"
