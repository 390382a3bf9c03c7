#!/usr/bin/env bash
# Rewrites the golden paintings (tests/data/golden): every bundled sample (samples/*.png, *.jpg)
# converted by the command line with the default controls (NAME.kvp) and with the style
# "Complex Painting" (NAME-complex-painting.kvp), and the painting the template command makes of
# it with its defaults (NAME-template.kvp; a build without printing fails after making it). Run it after a change that is meant to alter
# conversion results, and check the new paintings (the test suite compares against them):
#   bash scripts/update_goldens.sh [BUILD_DIR]      (default build; built here if need be)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
TARGET=pigmentaria-cli bash scripts/build.sh "$dir"
cli=$dir/src/pigmentaria-cli
out=tests/data/golden
mkdir -p "$out"
rm -f "$out"/*.kvp
shopt -s nullglob
for sample in samples/*.png samples/*.jpg; do
    name=$(basename "${sample%.*}")
    "$cli" convert "$sample" -o "$out/$name.kvp"
    "$cli" convert "$sample" -o "$out/$name-complex-painting.kvp" --style "Complex Painting"
    tmp=$(mktemp -d)
    "$cli" template "$sample" -o "$tmp" >/dev/null || true
    mv "$tmp/$name.kvp" "$out/$name-template.kvp"
    rm -rf "$tmp"
done
