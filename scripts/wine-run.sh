#!/usr/bin/env bash
# Runs a Windows program under Wine: a prefix of the project's own (under
# build/), no download prompts for Mono or Gecko, Wine's own chatter off.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
# A test program's list of cases is read by CTest, which expects Unix line
# ends; Windows programs end their lines with a carriage return too.
for arg in "$@"; do
  if [ "$arg" = --gtest_list_tests ]; then
    set -o pipefail
    wine "$@" | tr -d '\r'
    exit
  fi
done
exec wine "$@"
