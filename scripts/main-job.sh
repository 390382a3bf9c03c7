#!/usr/bin/env bash
# Sets up, builds, and runs the main job on the bundled sample photo: the photo becomes a painting
# file, a rendered picture of the painting, a numbered paint-by-number template and a palette
# sheet, all in out/. The desktop program is built beside the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what building and running the program needs; the test command installs the rest.
bash scripts/setup.sh
for target in pigmentaria-cli pigmentaria; do
    BUILD_TYPE=Release TARGET=$target bash scripts/build.sh build-main -DPIGMENTARIA_BENCH=OFF \
        -DPIGMENTARIA_TESTS=OFF
done
mkdir -p out
cli=build-main/src/pigmentaria-cli
sample=${1:-samples/coffee.png}
name=$(basename "${sample%.*}")
"$cli" convert "$sample" -o "out/$name.kvp" --png "out/$name-painting.png"
"$cli" print "out/$name.kvp" -o "out/$name-template.pdf"
"$cli" palette "out/$name.kvp" --print "out/$name-palette.pdf"
echo "Made out/$name.kvp, out/$name-painting.png, out/$name-template.pdf, out/$name-palette.pdf"
echo "Look at the painting in the desktop program: build-main/bin/pigmentaria out/$name.kvp"
