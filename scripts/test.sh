#!/usr/bin/env bash
# Sets up, builds and runs every test, then runs the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
(cd build && ctest --output-on-failure -j "$(nproc)")
bash scripts/build.sh build-asan -DPIGMENTARIA_SANITIZE=ON -DPIGMENTARIA_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$(nproc)")
