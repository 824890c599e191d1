#!/usr/bin/env bash
# Every test: installs what is needed, builds the host, win32 and fuzz presets, and runs with
# ctest the host unit tests, the Wine end-to-end tests and a bounded run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset host -j2
