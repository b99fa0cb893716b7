#!/usr/bin/env bash
# Runs the court_frame benchmark natively and the Windows build under Wine
# (real GDI) in one go and prints both figures side by side.
#
# Usage: benchmarks/court_frame/compare.sh [FRAMES] [LINUX_BUILD] [WINDOWS_BUILD]
#        (defaults: 2000 build/bench-linux build/bench-win)
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
frames="${1:-2000}"
linux="$(realpath -m "${2:-$src/build/bench-linux}")"
windows="$(realpath -m "${3:-$src/build/bench-win}")"
cmake -S "$src" -B "$linux" -G Ninja >/dev/null
cmake --build "$linux" --target court_frame -j2 >/dev/null
cmake -S "$src" -B "$windows" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$windows" --target court_frame -j2 >/dev/null
ours="$("$linux/benchmarks/court_frame/court_frame" "$frames")"
wine="$(xvfb-run -a "$src/scripts/wine-run.sh" "$windows/benchmarks/court_frame/court_frame.exe" "$frames" 2>/dev/null | tr -d '\r' | grep court_frame)"
fps() { sed -n 's/.*: \([0-9.]*\) frames per second.*/\1/p' <<<"$1"; }
printf '%-22s %s\n' "ours (Linux):" "$ours" "Wine (Windows build):" "$wine"
awk -v a="$(fps "$ours")" -v b="$(fps "$wine")" 'BEGIN { if (b > 0) printf "ours / Wine: %.2fx\n", a / b }'
