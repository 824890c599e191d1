#!/usr/bin/env bash
# Every test: installs what is needed, builds both presets, and runs the host unit tests and
# the Wine end-to-end tests with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset win32 >/dev/null
cmake --build --preset win32
ctest --preset host -j2
