#!/usr/bin/env bash
# Every benchmark: builds what they need, runs the host and Wine benchmarks, prints one table.
#
#   scripts/bench.sh [--bench-build DIR] [--win32-build DIR] [--runs N]
#
# Host micro-benchmarks (launcher_bench, Google Benchmark, preset bench, in build/bench unless
# told otherwise), keycheck's whole-process runs on large inputs (bench/keycheck_bench.py), and
# whole-program runs under Wine (bench/wine_bench.py, own prefix
# build/wine-bench/prefix and a free display, with setup.exe and its yardsticks from build/win32
# unless told otherwise; N measured runs of each Wine program, 10 unless told otherwise).
# Results stay in the bench build's results folder; takes about two minutes with 10 runs
# (longer the first time, while Wine makes the prefix).
set -euo pipefail
cd "$(dirname "$0")/.."
bench_build=build/bench
win32_build=build/win32
runs=10
while [ $# -gt 0 ]; do
    case "$1" in
    --bench-build) bench_build=$2; shift 2 ;;
    --win32-build) win32_build=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--bench-build DIR] [--win32-build DIR] [--runs N]" >&2
       exit 2 ;;
    esac
done
# Only the table goes to standard output; building and progress go to standard error.
bash scripts/setup-deps.sh >&2
cmake --preset bench -B "$bench_build" >/dev/null
cmake --build "$bench_build" --target launcher_bench keycheck keycheck_yardsticks >&2
cmake --preset win32 -B "$win32_build" >/dev/null
cmake --build "$win32_build" --target setup empty_gui box_only comctl_box_only walk_only \
    comctl_walk_only boxrun standin_install >&2

results=$bench_build/results
mkdir -p "$results"
echo "host benchmarks (about 40 s) ..." >&2
"./$bench_build/bench/launcher_bench" --benchmark_format=json >"$results/host.json"
echo "keycheck benchmarks (about a minute) ..." >&2
python3 bench/keycheck_bench.py --build "$bench_build" --json "$results/keycheck.json" >&2
if wine --version >/dev/null 2>&1; then
    echo "Wine benchmarks (about a minute) ..." >&2
    python3 bench/wine_bench.py --runs "$runs" --build "$win32_build" --json "$results/wine.json" >&2
else
    # A kernel without 32-bit emulation cannot start Wine's 32-bit loader.
    echo "Wine benchmarks skipped: wine --version fails on this machine" >&2
    echo '{"rows": []}' >"$results/wine.json"
fi
python3 bench/bench_table.py "$results/host.json" "$results/wine.json" "$results/keycheck.json" |
    tee "$results/table.md"
