#!/usr/bin/env bash
# Every benchmark: builds what they need, runs the host and Wine benchmarks, prints one table.
#
# Host micro-benchmarks (build/bench/bench/launcher_bench, Google Benchmark) and whole-program
# runs under Wine (bench/wine_bench.py, own prefix build/wine-bench/prefix and display :89).
# Results stay in build/bench/results; takes about a minute and a half (longer the first
# time, while Wine makes the prefix).
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the table goes to standard output; building and progress go to standard error.
bash scripts/setup-deps.sh >&2
cmake --preset bench >/dev/null
cmake --build --preset bench --target launcher_bench >&2
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target setup empty_gui boxrun standin_install >&2

results=build/bench/results
mkdir -p "$results"
echo "host benchmarks (about 30 s) ..." >&2
./build/bench/bench/launcher_bench --benchmark_format=json >"$results/host.json"
echo "Wine benchmarks (about a minute) ..." >&2
python3 bench/wine_bench.py --runs 10 --json "$results/wine.json" >&2
python3 bench/bench_table.py "$results/host.json" "$results/wine.json" | tee "$results/table.md"
