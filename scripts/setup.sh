#!/usr/bin/env bash
# Installs on Debian 12 what Pigmentaria needs, only what is missing.
#   bash scripts/setup.sh        what building and running the program needs (the main job)
#   bash scripts/setup.sh test   that and what the tests, benchmarks, sanitizer, fuzz and format
#                                checks need (the test command)
set -euo pipefail
# Compiler, build tools, the picture libraries, Qt for the windows and printing (with its SVG
# module for drawings pasted from other programs, and its translation tools, which compile the
# windows' German, and Qt's own German for its file dialog), and the fonts printing asks for
# ("Arial" resolves to Liberation Sans).
base=(
    g++ cmake ninja-build
    libjpeg62-turbo-dev libpng-dev zlib1g-dev
    qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    fonts-liberation
)
# GoogleTest and Google Benchmark; clang with its sanitizer and libFuzzer runtimes for the
# Debug, sanitizer and fuzz builds, llvm for readable sanitizer reports; clang-format 14, the
# house style; Python with Pillow and LibreOffice Draw, the independent readers our files are
# checked with; poppler's pdftoppm, which renders printed PDF pages for comparison; dpkg-dev
# (dpkg-shlibdeps), lintian and appstream, which make and check the Debian package and its
# software-centre metadata.
test=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev llvm-14 clang-format-14
    python3 python3-pil libreoffice-draw-nogui locales poppler-utils
    dpkg-dev lintian appstream
)
case "${1:-}" in
"") packages=("${base[@]}") ;;
test) packages=("${base[@]}" "${test[@]}") ;;
*)
    echo "usage: setup.sh [test]" >&2
    exit 2
    ;;
esac
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The tests read and write files and arguments under a German locale (decimal comma) to show that
# they do not follow the locale; generate it once when the machine lacks it.
if [ "${1:-}" = test ] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the de_DE.UTF-8 locale"
    if grep -q '^# *de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        $sudo_cmd sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'de_DE.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
    fi
    $sudo_cmd locale-gen
fi
