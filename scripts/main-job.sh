#!/usr/bin/env bash
# Sets up, builds, and runs the main job on the bundled sample photo: the photo becomes a
# paint-by-number template in one step (the painting file, the numbered template and the paint
# sheet as PDF files, the template as SVG, the painting as PNG), all in out/. The desktop program is built beside the command line.
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
"$cli" template "$sample" -o out
echo "Made out/$name.kvp, out/$name-template.pdf, out/$name-palette.pdf, out/$name-template.svg, out/$name-painting.png"
echo "Look at the painting in the desktop program: build-main/bin/pigmentaria out/$name.kvp"
