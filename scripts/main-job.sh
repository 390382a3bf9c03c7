#!/usr/bin/env bash
# Sets up, builds, and runs the main job on the bundled sample picture; results go to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
BUILD_TYPE=Release bash scripts/build.sh build-main -DPIGMENTARIA_BENCH=OFF
mkdir -p out
cli=build-main/src/pigmentaria-cli
"$cli" demo
