#!/usr/bin/env bash
# Every example program runs headless to its end with its own input script
# (examples/NAME/input.txt, played by tools/examples/run_headless.sh, as for
# its screenshot): exit status 0, nothing on standard error but the note
# that no display exists (which the runner leaves out), so not one of the
# library's warnings either (the runner leaves them on), no "Fatal Error"
# line, and the snapshots of its screenshot written. Its opening comment tells the truth about the end:
# it says that the last window waits for a click exactly when the program
# asks for one. And docs/examples.md shows every example's screenshot.
# Usage: examples.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
prompt="Click mouse in the graphics window to finish execution."

count=0
for folder in "$source"/examples/*/; do
  [ -f "$folder/CMakeLists.txt" ] || continue
  name=$(basename "$folder")
  count=$((count + 1))
  out=$work/$name
  grep -qF "](examples/$name.png)" "$source/docs/examples.md" || fail "$name: not shown in docs/examples.md"
  [ -f "$source/docs/examples/$name.png" ] || fail "$name: no docs/examples/$name.png"

  shots=$(bash "$source/tools/examples/run_headless.sh" "$build" "$source" "$name" "$out")
  status=$?
  [ "$status" = 0 ] || fail "$name: exit status $status; $(tail -2 "$out/stderr.txt" 2>/dev/null)"
  [ -s "$out/stderr.txt" ] && fail "$name wrote on standard error: $(head -3 "$out/stderr.txt")"
  grep -q "Fatal Error" "$out/stdout.txt" && fail "$name: $(grep -m1 "Fatal Error" "$out/stdout.txt")"
  [ -n "$shots" ] || fail "$name: no snapshot for its screenshot"
  for shot in $shots; do
    [ -f "$shot" ] || fail "$name: snapshot $(basename "$shot") of its screenshot not written"
  done

  # The opening comment, its lines joined.
  header=$(sed -n '/^\/\//!q; s#^// \{0,1\}##; p' "$folder/$name.cpp" | tr '\n' ' ')
  promised=no
  grep -qE "the last window (then )?waits for a click" <<<"$header" && promised=yes
  asked=no
  grep -qxF "$prompt" "$out/stdout.txt" && asked=yes
  [ "$promised" = "$asked" ] ||
    fail "$name: its comment says the last window waits for a click: $promised; it asked for one: $asked"
done
echo "examples: $count run"

[ "$failures" = 0 ] && echo "examples: all checks passed"
exit $((failures > 0))
