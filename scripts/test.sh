#!/usr/bin/env bash
# The test command (CI runs exactly this). Installs what it needs, then:
#   1. checks the format of every C++ source;
#   2. builds everything (g++) and runs the suite, then makes the Debian package and checks it
#      (scripts/check_package.sh);
#   3. builds with clang under AddressSanitizer and UndefinedBehaviorSanitizer, with the fuzz
#      targets, runs the suite again and runs every fuzz target for FUZZ_SECONDS (30) on its
#      seed corpus with a fixed seed;
#   4. builds with clang at -O0 (Debug), where faults such as one class defined twice show, and
#      runs the suite a third time;
#   5. builds the core and the command line without the GUI (no Qt) and runs their tests.
# With CI=true, tests that would skip for a missing tool fail instead.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-30}
start=$SECONDS
stage() {
    echo
    echo "==== $* (at $((SECONDS - start)) s)"
}

stage "Setting up"
bash scripts/setup.sh test
export CXX_CLANG=clang++-14
# Readable stack traces in sanitizer reports.
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH=$symbolizer

stage "Format check"
bash scripts/check_format.sh

stage "Normal build and suite"
bash scripts/build.sh build
(cd build && ctest --output-on-failure -j "$jobs")

stage "Debian package check"
bash scripts/check_package.sh build

stage "Sanitizer build (clang) and suite"
CXX=$CXX_CLANG bash scripts/build.sh build-asan -DPIGMENTARIA_SANITIZE=ON -DPIGMENTARIA_FUZZ=ON \
    -DPIGMENTARIA_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$jobs")

stage "Fuzzing every target for $fuzz_seconds s"
bash scripts/fuzz.sh build-asan "$fuzz_seconds"

stage "Debug build (clang, -O0) and suite"
CXX=$CXX_CLANG BUILD_TYPE=Debug bash scripts/build.sh build-debug -DPIGMENTARIA_BENCH=OFF
(cd build-debug && ctest --output-on-failure -j "$jobs")

stage "Build without the GUI (no Qt) and its suite"
CXX=$CXX_CLANG BUILD_TYPE=Debug bash scripts/build.sh build-nogui -DPIGMENTARIA_GUI=OFF \
    -DPIGMENTARIA_BENCH=OFF
(cd build-nogui && ctest --output-on-failure -j "$jobs")

stage "All passed in $((SECONDS - start)) s"
