#!/usr/bin/env bash
# The launcher's main job: builds setup.exe and runs it under Wine on the bundled sample
# package, once as Windows XP and once as Windows 98 SE. Where the kernel runs no 32-bit code,
# it builds and runs the 64-bit build of the same sources under wine64 instead, and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
eval "$(python3 tests/e2e/wine_lane.py --shell)"
echo "run-sample.sh: $LANE_TEXT"
preset=win32
[ "$LANE" = 64 ] && preset=win64
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
export WINE_LANE="$LANE"
python3 scripts/run_sample.py
