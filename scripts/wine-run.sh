#!/usr/bin/env bash
# Runs a Windows program under Wine: a prefix of the project's own (under
# build/), no download prompts for Mono or Gecko, Wine's own chatter off.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
