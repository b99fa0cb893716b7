#!/usr/bin/env bash
# Fetches Debian source packages and unpacks each, Debian's patches applied,
# into the folder named for it. Each package comes in the version installed
# on this machine (the version of an installed package built from it) when
# the archive still has it, else in the newest version the archive serves. Builds that
# compile a library themselves (the Windows build's libjpeg-turbo, the web
# build's libraries) use these folders; nothing fetched here is committed and
# no build fetches anything itself. A folder already unpacked is left alone.
#
# The host's package sources are left as they are. When apt already knows a
# deb-src entry, `apt-get source` uses it; otherwise apt runs with a private
# configuration in a temporary folder (its own deb-src list for Debian's
# archive, checked with debian-archive-keyring, and its own index folders,
# removed afterwards), which reads no more than the archive's source index.
#
# Usage: fetch-source.sh SOURCE=DEST...
#   e.g. fetch-source.sh freetype=build/deps/freetype zlib=build/deps/zlib
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 SOURCE=DEST..." >&2; exit 2; }
todo=()
for arg in "$@"; do
  case "$arg" in
    ?*=?*) ;;
    *) echo "$0: '$arg' is not SOURCE=DEST" >&2; exit 2 ;;
  esac
  dest="$(realpath -m "${arg#*=}")"
  [ -f "$dest/.unpacked" ] || todo+=("${arg%%=*}=$dest")
done
[ ${#todo[@]} -gt 0 ] || exit 0

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

# The version of the source package that an installed package was built from.
installed_version() {
  dpkg-query -W -f='${db:Status-Status} ${source:Package} ${source:Version}\n' 2>/dev/null |
    awk -v src="$1" '$1 == "installed" && $2 == src && v == "" { v = $3 } END { print v }'
}

for item in "${todo[@]}"; do
  source="${item%%=*}"
  dest="${item#*=}"
  echo "Fetching Debian's $source source into $dest"
  into="$work/$source"
  fetch() {
    rm -rf "$into" && mkdir -p "$into"
    ( cd "$into" && apt-get "${apt_opts[@]}" source -qq "$source=$1" >/dev/null 2>&1 )
  }
  # The installed version first, then the archive's versions, newest first
  # (a version listed in the index is not always in the pool).
  fetched=
  for version in $(installed_version "$source") $(apt-cache "${apt_opts[@]}" showsrc "$source" 2>/dev/null |
      awk '$1 == "Version:" { print $2 }' | sort -rVu); do
    if fetch "$version"; then fetched=$version; break; fi
  done
  [ -n "$fetched" ] || { echo "cannot fetch Debian's $source source package" >&2; exit 1; }
  srcdir=$(find "$into" -mindepth 1 -maxdepth 1 -type d -name "$source-*" | head -n1)
  [ -n "$srcdir" ] && [ -d "$srcdir/debian" ] || { echo "$source source not found" >&2; exit 1; }
  rm -rf "$dest"
  mkdir -p "$(dirname "$dest")"
  cp -a "$srcdir" "$dest"
  echo "$fetched" >"$dest/.unpacked"
done
