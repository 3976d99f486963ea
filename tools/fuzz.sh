#!/usr/bin/env bash
# Builds the fuzz preset and runs every loader's libFuzzer target over its seed corpus (Fuzz/corpus/),
# the targets side by side, then prints each one's executions and coverage. New inputs go to a scratch
# corpus under build/fuzz/corpus/, so the committed seeds stay as they are; a finding is saved there as
# crash-*, leak-*, timeout-* or oom-* and fails the run.
#
#   tools/fuzz.sh               a short run, 5 seconds a target (as CI runs it)
#   tools/fuzz.sh 600           ten minutes a target
#   tools/fuzz.sh 60 FuzzPng    one target
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
seconds="${1:-5}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(FuzzDds FuzzTarga FuzzIcon FuzzPng FuzzSettings FuzzLevelObject FuzzPackedCache FuzzDefinitions
             FuzzFbxRecords FuzzFbxImport)
fi

logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT
# The engine texture tool runs during the build; its leaks at exit are no finding.
if ! { cmake --preset fuzz && ASAN_OPTIONS=detect_leaks=0 cmake --build --preset fuzz -j "$(nproc)"; } > "$logs/build" 2>&1; then
    cat "$logs/build" >&2
    exit 1
fi

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$root/tools/ubsan.supp:print_stacktrace=1:halt_on_error=1"
work="$root/build/fuzz/corpus"

# One target's run; its output goes to $logs/<target>, and $logs/<target>.ok marks a clean run.
run_target() {
    local target="$1"
    mkdir -p "$work/$target"
    # At most 1 GB and 5 s an input: a file that needs more is a finding.
    if "$root/build/fuzz/bin/$target" -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=1024 \
        -timeout=5 -max_len=131072 -print_final_stats=1 -artifact_prefix="$work/$target-" \
        "$work/$target" "$root/Fuzz/corpus/$target" > "$logs/$target" 2>&1; then
        touch "$logs/$target.ok"
    fi
}

# The targets run side by side, one a core.
running=0
for target in "${targets[@]}"; do
    if [ "$running" -ge "$(nproc)" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    run_target "$target" &
    running=$((running + 1))
done
wait

failed=0
printf '%-18s %12s %10s %8s %8s  %s\n' target executions exec/s cov ft result
for target in "${targets[@]}"; do
    log="$logs/$target"
    if [ -e "$log.ok" ]; then
        result=ok
    else
        result="FAILED (see $work/$target-*)"
        failed=1
        tail -n 40 "$log" >&2
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    features=$(grep -oE 'ft: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    printf '%-18s %12s %10s %8s %8s  %s\n' "$target" "${executions:-?}" "${speed:-?}" "${coverage:-?}" \
        "${features:-?}" "$result"
done
exit "$failed"
