#!/usr/bin/env bash
# Configures and builds into the folder given (default: build), extra CMake options after it.
# TARGET names one target to build instead of everything.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
launcher=()
# A compiler cache, when the machine has one, shares objects between checkouts.
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)" ${TARGET:+--target "$TARGET"}
