#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each (default 30), in parallel, on its
# committed seed corpus (fuzz/corpus/TARGET) with a fixed seed, so that a run can be repeated.
#   bash scripts/fuzz.sh BUILD_DIR [SECONDS]      BUILD_DIR configured with -DPIGMENTARIA_FUZZ=ON
# What the fuzzers add to the corpus goes to BUILD_DIR/fuzz-work, never to the committed seeds. A
# failing input is saved as BUILD_DIR/fuzz-findings/TARGET-crash-...: keep it in the target's
# folder of findings (tests/data/image/fuzz, tests/data/metafile/fuzz or tests/data/model/fuzz, see
# fuzz/CMakeLists.txt) so that the suite replays it, and fix the fault.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-30}
mapfile -t targets < "$dir/fuzz/targets.txt"
work=$dir/fuzz-work findings=$dir/fuzz-findings logs=$dir/fuzz-logs
rm -rf "$work" "$logs"
mkdir -p "$work" "$findings" "$logs"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
run_one() {
    local t=$1
    mkdir -p "$work/$t"
    if "$dir/fuzz/$t" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$findings/$t-" "$work/$t" "fuzz/corpus/$t" \
        >"$logs/$t.log" 2>&1; then
        echo "$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$logs/$t.log" |
            grep -o '[0-9]*$') runs, $(grep -o 'cov: [0-9]*' "$logs/$t.log" | tail -1), no findings"
    else
        echo "$t: FAILED, see $logs/$t.log"
        return 1
    fi
}
export -f run_one
export dir seconds work findings logs
status=0
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one {}' || status=$?
if [ "$status" -ne 0 ]; then
    for t in "${targets[@]}"; do
        if ! grep -q 'Done [0-9]* runs' "$logs/$t.log"; then
            echo "---- $t"
            grep -E -A25 'ERROR|runtime error|Test unit written|SUMMARY' "$logs/$t.log" | head -60
        fi
    done
    echo "A fuzz target failed. Its input is in $findings/; keep it in the target's folder of" \
        "findings (see fuzz/CMakeLists.txt) so that the suite replays it, and fix the fault." >&2
    exit 1
fi
