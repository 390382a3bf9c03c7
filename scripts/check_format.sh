#!/usr/bin/env bash
# Checks that every C++ source follows the house style (.clang-format, clang-format 14);
# with --fix, formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || true)
if [ -z "$format" ]; then
    echo "clang-format-14 is missing: bash scripts/setup.sh test installs it" >&2
    exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
fi
if [ "${1:-}" = "--fix" ]; then
    "$format" -i "${files[@]}"
    exit 0
fi
if ! "$format" --dry-run --Werror "${files[@]}"; then
    echo "Some sources are not formatted: bash scripts/check_format.sh --fix formats them" >&2
    exit 1
fi
echo "Format: ${#files[@]} sources follow .clang-format"
