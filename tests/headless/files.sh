#!/usr/bin/env bash
# The files that headless runs and printing write and read, when the file
# system is hostile: settings refused at the start with status 4, hostile
# input scripts refused without being read, names that are not regular
# files left alone, and writes that fail part way (a file size limit, a full
# file system) leaving the file that was there as it was, told once with
# the system's reason, the program ending with status 5. The full file
# system is a tiny tmpfs, mounted only when running as root (as CI does).
# Usage: files.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
small=$work/small
cleanup() {
  mountpoint -q "$small" 2>/dev/null && umount "$small"
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
click_to_quit=$build/examples/click_to_quit/click_to_quit
print_picture=$build/examples/print_picture/print_picture
kiva=$build/game/kiva

# run [VAR=VALUE...] PROGRAM [ARG...]: headless, status in $status, standard
# error in err.txt. (The time limit only guards against a hang.)
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" </dev/null >out.txt 2>err.txt
  status=$?
}
# expect WHAT STATUS MESSAGE
expect() {
  [ "$status" = "$2" ] || fail "$1: status $status, not $2: $(head -c 400 err.txt)"
  grep -qF -- "$3" err.txt || fail "$1: no \"$3\" in: $(head -c 400 err.txt)"
}
# run_limited KIB [VAR=VALUE...] PROGRAM [ARG...]: the same, with writes
# past KIB KiB into any file failing (EFBIG).
run_limited() {
  local kib=$1
  shift
  (trap '' XFSZ; ulimit -f "$kib"; run "$@"; exit "$status")
  status=$?
}
# No temporary file is left behind in folder $1.
no_leftovers() { [ -z "$(find "$1" -name '.kiva-*')" ] || fail "$2: left $(find "$1" -name '.kiva-*')"; }

echo "frame 0 +5 click left 30 40" >click.txt
mkdir shots

# --- Settings refused at the start, before a window opens.
run GRAPHICS_INPUT=click.txt GRAPHICS_SNAPSHOT='shots/%04294967300d.png' timeout 60 "$click_to_quit"
expect "a 4294967300-digit frame number" 4 "wider than 20 digits"
run GRAPHICS_INPUT=click.txt GRAPHICS_SNAPSHOT=missing/f-%d.png timeout 60 "$click_to_quit"
expect "a missing snapshot folder" 4 "cannot write snapshots such as missing/f-1.png: No such file or directory"
run GRAPHICS_INPUT=click.txt GRAPHICS_SNAPSHOT=shots-%d/f.png timeout 60 "$click_to_quit"
expect "a frame number in a folder's name" 4 "it belongs in the file name"
for list in 0 1, ,1 1,,2; do
  run GRAPHICS_INPUT=click.txt GRAPHICS_SNAPSHOT=shots/f-%d.png GRAPHICS_SNAPSHOT_FRAMES="$list" timeout 60 "$click_to_quit"
  expect "frame list '$list'" 4 "GRAPHICS_SNAPSHOT_FRAMES: "
done
grep -qF "has an empty item" err.txt || fail "1,,2: $(cat err.txt)"
run GRAPHICS_INPUT=click.txt GRAPHICS_RECORD=/dev/full timeout 60 "$click_to_quit"
expect "recording to /dev/full" 4 "GRAPHICS_RECORD: cannot write /dev/full: it is a device, not a regular file"
run GRAPHICS_INPUT=click.txt GRAPHICS_RECORD=missing/rec.txt timeout 60 "$click_to_quit"
expect "recording into a missing folder" 4 "cannot write missing/rec.txt: No such file or directory"

# --- Hostile input scripts: refused at once, never read whole.
mkfifo pipe
truncate -s 100M big.txt
printf 'frame 1 key %s\n' "$(head -c 1000000 /dev/zero | tr '\0' K)" >wide.txt
run GRAPHICS_INPUT=. timeout 60 "$click_to_quit"
expect "a folder as script" 4 "cannot read the input script .: it is a folder, not a regular file"
run GRAPHICS_INPUT=/dev/zero timeout 60 "$click_to_quit"
expect "/dev/zero as script" 4 "it is a device, not a regular file"
run GRAPHICS_INPUT=pipe timeout 60 "$click_to_quit"
expect "a named pipe as script" 4 "it is a named pipe, not a regular file"
run GRAPHICS_INPUT=big.txt timeout 60 "$click_to_quit"
expect "a 100 MB script" 4 "big.txt: the script holds 104857600 bytes, more than the 67108864"
run GRAPHICS_INPUT=wide.txt timeout 60 "$click_to_quit"
expect "a 1 MB line" 4 "wide.txt: line 1: longer than 4096 characters"
[ "$(wc -c <err.txt)" -lt 1000 ] || fail "a 1 MB line: $(wc -c <err.txt) bytes of messages"

# --- A name as long as the system allows (253 characters) can be written:
# the temporary name does not grow with it.
long=$(printf 'n%.0s' $(seq 241))
run GRAPHICS_INPUT=click.txt GRAPHICS_SNAPSHOT="$long-%d.png" GRAPHICS_SNAPSHOT_FRAMES=close timeout 60 "$click_to_quit"
[ "$status" = 0 ] && [ -s "$long-0-close.png" ] || fail "a 253-character snapshot name: status $status, $(cat err.txt)"

# --- A print target that is not a regular file is refused and left alone;
# a named pipe does not block the print.
run GRAPHICS_PRINT_FILE=pipe timeout 60 "$print_picture" --print
expect "printing to a named pipe" 0 "cannot write \"pipe\": it is a named pipe, not a regular file"
[ -p pipe ] || fail "the named pipe is gone"
mkdir folder.pdf
run GRAPHICS_PRINT_FILE=folder.pdf timeout 60 "$print_picture" --print
expect "printing to a folder" 0 "it is a folder, not a regular file"
if [ "$(id -u)" = 0 ]; then
  mknod full c 1 7  # a /dev/full of the test's own
  run GRAPHICS_PRINT_FILE=full timeout 60 "$print_picture" --print
  expect "printing to a device" 0 "cannot write \"full\": it is a device, not a regular file"
  [ -c full ] || fail "the device node was removed"
fi

# --- Writes past a file size limit (4 KiB) fail part way: what was there
# stays, the failure is told once with the reason, status 5.
head -c 3000 /dev/urandom >old.pdf
cp old.pdf old.copy
ln -s old.pdf link.pdf
for target in old.pdf link.pdf; do
  run_limited 4 GRAPHICS_PRINT_FILE=$target timeout 60 "$print_picture" --print
  expect "a print past the size limit to $target" 0 "Nothing was printed: cannot write \"$target\": File too large"
  cmp -s old.pdf old.copy || fail "a print to $target that failed changed old.pdf"
done
[ -L link.pdf ] || fail "the link was replaced"
no_leftovers . "a failed print"

# A recording of 400 pointer moves, more than 4 KiB.
{ for i in $(seq 400); do echo "frame 0 +$i move $i $i"; done; echo "frame 0 +401 click left 1 2"; } >moves.txt
echo "# an older recording" >rec.txt
cp rec.txt rec.copy
run_limited 4 GRAPHICS_INPUT=moves.txt GRAPHICS_RECORD=rec.txt timeout 60 "$click_to_quit"
expect "a recording past the size limit" 5 "GRAPHICS_RECORD: cannot write rec.txt: File too large; the recording stops at frame 0"
grep -qF "the program ends with status 5" err.txt || fail "no word of status 5: $(cat err.txt)"
[ "$(grep -c 'cannot write' err.txt)" = 1 ] || fail "the recording's failure told more than once: $(cat err.txt)"
cmp -s rec.txt rec.copy || fail "a failed recording changed the older one"
no_leftovers . "a failed recording"
# Without the limit the same session is recorded whole.
run GRAPHICS_INPUT=moves.txt GRAPHICS_RECORD=rec.txt timeout 60 "$click_to_quit"
[ "$status" = 0 ] && [ "$(grep -c move rec.txt)" = 400 ] || fail "the recording: status $status, $(grep -c move rec.txt) moves"

# The game's snapshots (each over 8 KiB): the first that cannot be written
# is told, no more are tried, and the game plays on to its normal end.
printf '%s\n' "frame 30 key q" >quit.txt
printf '4\n4\n5\n' >answers.txt
# play_game PATTERN KIB: the game for 30 frames, snapshots as PATTERN.
play_game() {
  run_limited "$2" GRAPHICS_TIME=virtual GRAPHICS_INPUT=quit.txt GRAPHICS_SNAPSHOT="$1" \
    timeout 600 bash -c 'exec "$0" <answers.txt' "$kiva"
  grep -qF "no more snapshots are written" err.txt || fail "the snapshots' failure: $(cat err.txt)"
  [ "$(grep -c 'cannot write' err.txt)" = 1 ] || fail "the snapshots' failure told more than once: $(cat err.txt)"
  grep -q "^3 <Ethiopia>" out.txt || fail "the game did not play on to its end: $(tail -3 out.txt)"
}
mkdir game
play_game game/f-%05d.png 8
expect "the game's snapshots past the size limit" 5 "GRAPHICS_SNAPSHOT: cannot write game/f-00001.png: File too large"
[ -z "$(ls game)" ] || fail "snapshots past the size limit: $(ls game)"

# --- A full file system (as root): the same, with "No space left on device".
if [ "$(id -u)" = 0 ]; then
  mkdir "$small"
  if mount -t tmpfs -o size=64k tmpfs "$small"; then
    cp old.pdf "$small/old.pdf"
    cp rec.copy "$small/rec.txt"
    head -c 100000 /dev/zero >"$small/filler" 2>/dev/null
    truncate -s -8192 "$small/filler"  # two pages left
    run GRAPHICS_PRINT_FILE="$small/old.pdf" timeout 60 "$print_picture" --print
    expect "a print on a full file system" 0 "No space left on device"
    cmp -s "$small/old.pdf" old.copy || fail "a print that filled the file system changed old.pdf"
    { for i in $(seq 600); do echo "frame 0 +$i move $i $i"; done; echo "frame 0 +601 click left 1 2"; } >moves.txt
    run GRAPHICS_INPUT=moves.txt GRAPHICS_RECORD="$small/rec.txt" timeout 60 "$click_to_quit"
    expect "a recording that fills the file system" 5 "No space left on device; the recording stops at frame 0"
    cmp -s "$small/rec.txt" rec.copy || fail "a recording that filled the file system changed the older one"
    # Snapshots until the file system is full: those written are frames 1
    # to N, whole, and none after them.
    rm -f "$small"/*
    play_game "$small/f-%05d.png" 100000
    expect "the game's snapshots on a full file system" 5 "No space left on device; no more snapshots"
    written=$(ls "$small" | wc -l)
    [ "$written" -ge 1 ] && [ "$written" -lt 30 ] || fail "snapshots on a full file system: $(ls "$small")"
    for i in $(seq "$written"); do
      f=$(printf '%s/f-%05d.png' "$small" "$i")
      identify "$f" >/dev/null 2>&1 || fail "snapshot $f missing or broken among $(ls "$small")"
    done
    no_leftovers "$small" "a full file system"
  else
    fail "cannot mount a tmpfs as root"
  fi
fi

[ "$failures" = 0 ] && echo "files: all checks passed"
exit $((failures > 0))
