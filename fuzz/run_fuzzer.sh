#!/usr/bin/env bash
# Runs one libFuzzer target of the fuzz preset for a bounded time from the seed corpus in the
# tree, and reports how many inputs ran without a finding. usage: run_fuzzer.sh TARGET SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
target="$1"
seconds="$2"
binary="build/fuzz/fuzz/$target"
if [ ! -x "$binary" ]; then
    echo "SKIP: $binary is absent; build it with 'cmake --preset fuzz && cmake --build --preset fuzz'"
    exit 77
fi
seeds="fuzz/corpus/${target#fuzz_}"
work="build/fuzz/work/$target"
mkdir -p "$work" build/fuzz/findings
log="build/fuzz/$target.log"
status=0
"$binary" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/findings/ \
    "$work" "$seeds" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -40 "$log"
    echo "$target: finding after the run above; the input is in build/fuzz/findings/"
    exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "$target: $runs inputs in ${seconds} s without a finding"
