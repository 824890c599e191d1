#!/usr/bin/env bash
# Every test: installs what is needed, builds the host, win32, fuzz and release presets (and
# win64 where the machine runs Wine's 64-bit lane only), packages keycheck, and runs with ctest
# the host unit tests, the Wine end-to-end tests, keycheck's tests and a bounded run of each
# fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset win32 >/dev/null
cmake --build --preset win32
# The Wine lane: the shipped 32-bit build under Wine's 32-bit loader, or, where the kernel runs
# no 32-bit code, a 64-bit build of the same sources under wine64 (tests/e2e/wine_lane.py).
eval "$(python3 tests/e2e/wine_lane.py --shell)"
echo "test.sh: $LANE_TEXT"
if [ "$LANE" = 64 ]; then
    cmake --preset win64 >/dev/null
    cmake --build --preset win64
fi
export WINE_LANE="$LANE"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
# keycheck as users install it: the optimised build and its Debian package, which a test unpacks.
cmake --preset release >/dev/null
cmake --build --preset release
(cd build/release && cpack >/dev/null)
ctest --preset host -j2
