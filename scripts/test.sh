#!/usr/bin/env bash
# Builds and runs every test: the Linux build (and the library used from
# outside the tree by each install route, and the web build's pages in
# headless Chromium against it), the library and the game with
# clang, the fuzz targets with clang and a fixed short run of each, the
# Linux build again with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build (MinGW-w64) under Wine.
# Installs missing packages first.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh test || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
failed=()

# Each part's banner says how long the run has taken so far, so that a slow
# part shows in the log.
phase() {  # phase TITLE
  echo "=== $1 (at ${SECONDS} s)"
}

build() {  # build FOLDER CMAKE-ARGS...
  local dir=build/$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null && cmake --build "$dir" -j "$jobs"
}

phase "Linux build"
# Every part on, whatever an earlier scripts/play.sh left in the folder.
if build linux -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKIVA_BUILD_TESTS=ON -DKIVA_BUILD_BENCHMARKS=ON \
    -DKIVA_BUILD_TOOLS=ON -DKIVA_BUILD_EXAMPLES=ON -DKIVA_BUILD_GAME=ON; then
  ctest --test-dir build/linux --output-on-failure || failed+=("Linux tests")
  phase "The library in a program of its own: install, pkg-config, FetchContent, Debian package"
  bash scripts/check-install.sh build/linux || failed+=("install routes")
  phase "The web: the game and the examples as pages in headless Chromium, against the Linux build"
  { bash scripts/web.sh && bash tests/web/run.sh build/linux; } || failed+=("web tests")
else
  failed+=("Linux build")
fi

phase "clang: the library and the game, warnings as errors"
if cmake -S . -B build/clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS=-Werror -DKIVA_BUILD_TESTS=OFF \
    -DKIVA_BUILD_BENCHMARKS=OFF -DKIVA_BUILD_EXAMPLES=OFF -DKIVA_BUILD_TOOLS=OFF >/dev/null &&
  cmake --build build/clang -j "$jobs" --target kiva_graphics kiva; then :; else
  failed+=("clang build")
fi

phase "clang: the fuzz targets (libFuzzer, sanitizers), a fixed short run of each"
if build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS=-Werror -DKIVA_BUILD_FUZZERS=ON -DKIVA_BUILD_TESTS=OFF -DKIVA_BUILD_GAME=OFF \
    -DKIVA_BUILD_TOOLS=OFF -DKIVA_BUILD_BENCHMARKS=OFF -DKIVA_BUILD_EXAMPLES=OFF -DKIVA_INSTALL=OFF; then
  ctest --test-dir build/fuzz --output-on-failure || failed+=("fuzz runs")
else
  failed+=("fuzz build")
fi

phase "Linux build with AddressSanitizer and UndefinedBehaviorSanitizer"
# The benchmarks are left out: nothing runs them, and timing sanitized code
# tells nothing.
if build asan -DCMAKE_BUILD_TYPE=Debug -DKIVA_SANITIZE=ON -DKIVA_BUILD_BENCHMARKS=OFF; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure || failed+=("sanitizer tests")
else
  failed+=("sanitizer build")
fi

phase "Windows build (MinGW-w64), tests under Wine"
if build windows -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake; then
  # One virtual display for every Wine program of the run; the prefix is
  # made first so that its set-up does not count against a test's time.
  # Wine's windows are left unmanaged: with no window manager on the virtual
  # display, Wine would otherwise wait two seconds at every window's end.
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    scripts/wine-run.sh wineboot --init >/dev/null 2>&1
    scripts/wine-run.sh reg add "HKCU\Software\Wine\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    ctest --test-dir build/windows --output-on-failure' || failed+=("Windows tests")
else
  failed+=("Windows build")
fi

echo "=== ${SECONDS} s in all"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and tests passed."
