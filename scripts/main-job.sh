#!/usr/bin/env bash
# Sets up, builds, and runs the main job on the bundled sample photo: the photo becomes a painting
# file, a rendered picture of the painting, a numbered paint-by-number template and a palette
# sheet, all in out/.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what building and running the program needs; the test command installs the rest.
bash scripts/setup.sh
BUILD_TYPE=Release TARGET=pigmentaria-cli bash scripts/build.sh build-main -DPIGMENTARIA_BENCH=OFF \
    -DPIGMENTARIA_TESTS=OFF
mkdir -p out
cli=build-main/src/pigmentaria-cli
sample=${1:-samples/coffee.png}
name=$(basename "${sample%.*}")
"$cli" convert "$sample" -o "out/$name.kvp" --png "out/$name-painting.png"
"$cli" print "out/$name.kvp" -o "out/$name-template.pdf"
"$cli" palette "out/$name.kvp" --print "out/$name-palette.pdf"
echo "Made out/$name.kvp, out/$name-painting.png, out/$name-template.pdf, out/$name-palette.pdf"
