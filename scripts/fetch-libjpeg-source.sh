#!/usr/bin/env bash
# Fetches Debian's libjpeg-turbo source package (the same version as the
# installed libjpeg62-turbo-dev) and unpacks it into DEST, for building the
# JPEG library with the MinGW-w64 cross compiler. Adds a deb-src entry for
# Debian's archive when apt has none. Nothing fetched here is committed.
# Usage: fetch-libjpeg-source.sh DEST
set -euo pipefail
dest=${1:?usage: fetch-libjpeg-source.sh DEST}

if [ -f "$dest/.unpacked" ]; then exit 0; fi
if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi

has_deb_src() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}

if ! has_deb_src; then
  . /etc/os-release
  codename=${VERSION_CODENAME:-bookworm}
  "${SUDO[@]}" tee /etc/apt/sources.list.d/kiva-deb-src.sources >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  "${SUDO[@]}" apt-get update -qq
fi

version=$(dpkg-query -W -f='${Version}' libjpeg62-turbo-dev 2>/dev/null || true)
package=libjpeg-turbo
[ -n "$version" ] && package="libjpeg-turbo=$version"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fetch() { ( cd "$work" && apt-get source -qq "$1" >/dev/null 2>&1 ); }
# The installed version first (the lists may be stale: refresh once), then
# whatever version the archive has.
fetch "$package" || { "${SUDO[@]}" apt-get update -qq; fetch "$package"; } || fetch libjpeg-turbo || {
  echo "cannot fetch Debian's libjpeg-turbo source package" >&2
  exit 1
}
srcdir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
[ -n "$srcdir" ] && [ -f "$srcdir/jpeglib.h" ] || { echo "libjpeg-turbo source not found" >&2; exit 1; }
rm -rf "$dest"
mkdir -p "$(dirname "$dest")"
cp -a "$srcdir" "$dest"
touch "$dest/.unpacked"
