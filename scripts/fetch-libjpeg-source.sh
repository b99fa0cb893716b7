#!/usr/bin/env bash
# Fetches Debian's libjpeg-turbo source package (the version of the installed
# libjpeg62-turbo-dev when the archive still has it) and unpacks it, Debian's
# patches applied, into DEST (default build/deps/libjpeg-turbo). The Windows
# build compiles the JPEG library from there with the MinGW-w64 cross
# compiler; nothing fetched here is committed. scripts/install-deps.sh runs
# this; the build itself never fetches anything.
#
# The host's package sources are left as they are. When apt already knows a
# deb-src entry, `apt-get source` uses it; otherwise apt runs with a private
# configuration in a temporary folder (its own deb-src list for Debian's
# archive, checked with debian-archive-keyring, and its own index folders,
# removed afterwards), which reads no more than the archive's source index.
#
# Usage: fetch-libjpeg-source.sh [DEST]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dest="$(realpath -m "${1:-$root/build/deps/libjpeg-turbo}")"

[ -f "$dest/.unpacked" ] && exit 0
echo "Fetching Debian's libjpeg-turbo source (for the Windows build) into $dest"

version=$(dpkg-query -W -f='${Version}' libjpeg62-turbo-dev 2>/dev/null || true)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

apt_opts=()
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  . /etc/os-release
  private="$work/apt"
  mkdir -p "$private/lists/partial" "$private/cache/archives/partial" "$private/sources.list.d"
  cat >"$private/sources.list" <<SRC
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian ${VERSION_CODENAME:-bookworm} main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security ${VERSION_CODENAME:-bookworm}-security main
SRC
  apt_opts=(
    -o "Dir::Etc::SourceList=$private/sources.list"
    -o "Dir::Etc::SourceParts=$private/sources.list.d"
    -o "Dir::State::Lists=$private/lists"
    -o "Dir::Cache=$private/cache"
    -o "APT::Sandbox::User=$(id -un)"
    -o "Debug::NoLocking=true"
  )
  apt-get "${apt_opts[@]}" update -qq
fi

fetch() { ( cd "$work" && apt-get "${apt_opts[@]}" source -qq "$1" >/dev/null 2>&1 ); }
# The installed version first, then whatever version the archive has.
{ [ -n "$version" ] && fetch "libjpeg-turbo=$version"; } || fetch libjpeg-turbo || {
  echo "cannot fetch Debian's libjpeg-turbo source package" >&2
  exit 1
}
srcdir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
[ -n "$srcdir" ] && [ -f "$srcdir/jpeglib.h" ] || { echo "libjpeg-turbo source not found" >&2; exit 1; }
rm -rf "$dest"
mkdir -p "$(dirname "$dest")"
cp -a "$srcdir" "$dest"
touch "$dest/.unpacked"
