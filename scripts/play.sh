#!/usr/bin/env bash
# Builds the game and its pictures and starts it. Installs missing packages
# first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh build
# Only what the game needs: the tests and benchmarks need packages of the
# test profile (scripts/test.sh turns them on again in the same folder).
cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKIVA_BUILD_TESTS=OFF -DKIVA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/linux -j "$(nproc 2>/dev/null || echo 2)" --target kiva picture_files >/dev/null
exec build/linux/game/kiva "$@"
