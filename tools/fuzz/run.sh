#!/usr/bin/env bash
# run.sh - runs one fuzz target of the fuzz build (KIVA_BUILD_FUZZERS, made
# by scripts/test.sh in build/fuzz) and sums it up in one line: executions,
# coverage (libFuzzer's cov and ft: code edges and features reached), time.
#
#   tools/fuzz/run.sh TARGET SECONDS [BUILD_DIR]    a long run
#   tools/fuzz/run.sh --runs N TARGET [BUILD_DIR]   the tests' fixed run
#
# TARGET is input_script, picture_jpeg, picture_png or calls (the program
# fuzz_TARGET in BUILD_DIR/tools/fuzz; BUILD_DIR defaults to build/fuzz). A long run goes on
# from the inputs earlier long runs kept (BUILD_DIR/tools/fuzz/corpus/TARGET)
# and the seeds (tools/fuzz/corpus/TARGET). The fixed run starts from the
# seeds alone, in a fresh folder, with seed 1, and stops after N inputs, so
# it does the same on every machine however loaded. Found faults go to
# BUILD_DIR/tools/fuzz/found/ (crash-*, leak-*, timeout-*); run the target on
# such a file to see the fault again with all the target writes. libFuzzer's
# whole output is kept in BUILD_DIR/tools/fuzz/TARGET.log. Exit status 0
# when nothing was found, 1 when something was, 2 for wrong usage.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
usage() {
  echo "usage: $0 TARGET SECONDS [BUILD_DIR] | $0 --runs N TARGET [BUILD_DIR]" >&2
  exit 2
}

runs=""
if [ "${1:-}" = "--runs" ]; then
  [ $# -ge 3 ] || usage
  runs=$2 target=$3 build=${4:-build/fuzz}
  [[ $runs =~ ^[0-9]+$ ]] || usage
else
  [ $# -ge 2 ] || usage
  target=$1 seconds=$2 build=${3:-build/fuzz}
  [[ $seconds =~ ^[0-9]+$ ]] || usage
fi
program=$build/tools/fuzz/fuzz_$target
seeds=$here/corpus/$target
if [ ! -x "$program" ] || [ ! -d "$seeds" ]; then
  echo "run.sh: no fuzz target $target ($program, seeds in $seeds); build the fuzz build first" >&2
  exit 2
fi
found=$build/tools/fuzz/found
log=$build/tools/fuzz/$target.log
mkdir -p "$found"

options=(-print_final_stats=1 -close_fd_mask=3 -artifact_prefix="$found/$target-")
[ -f "$here/$target.dict" ] && options+=(-dict="$here/$target.dict")
# A picture target decodes pictures of at most 2^18 pixels: an allocation
# of more than 256 MB is a fault (a small file claiming a huge chunk).
case $target in picture_*) options+=(-malloc_limit_mb=256) ;; esac
launch=()
if [ -n "$runs" ]; then
  corpus=$(mktemp -d)
  trap 'rm -rf "$corpus"' EXIT
  # The same inputs every time: no mutations from compared values (some
  # are addresses), and no address randomisation where the system lets it
  # be turned off (the platform keeps some tables in address order).
  options+=(-runs="$runs" -seed=1 -reload=0 -use_cmp=0 -use_memmem=0)
  if setarch "$(uname -m)" -R true 2>/dev/null; then launch=(setarch "$(uname -m)" -R); fi
else
  corpus=$build/tools/fuzz/corpus/$target
  mkdir -p "$corpus"
  options+=(-max_total_time="$seconds")
fi

# The target's own output (the library's reports, the decoder's messages)
# is dropped (-close_fd_mask); libFuzzer and the sanitizers still report.
start=$(date +%s.%N)
SDL_VIDEODRIVER=offscreen GRAPHICS_FPS=0 UBSAN_OPTIONS=print_stacktrace=1 \
  "${launch[@]}" "$program" "${options[@]}" "$corpus" "$seeds" >"$log" 2>&1
status=$?
end=$(date +%s.%N)

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
inputs=$(grep -o 'corp: [0-9]*' "$log" | tail -n 1)
printf '%s: %s executions in %.1f s, %s, %s inputs in the corpus\n' "$target" "${executions:-?}" \
  "$(awk "BEGIN { print $end - $start }")" "${coverage:-cov: ? ft: ?}" "${inputs#corp: }"
if [ $status -ne 0 ]; then
  grep -E '^(==[0-9]+==|SUMMARY|artifact_prefix|Test unit written|.*ERROR)' "$log" | head -n 20
  echo "$target: FAULT FOUND (libFuzzer's exit status $status); its output: $log"
  exit 1
fi
