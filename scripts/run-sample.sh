#!/usr/bin/env bash
# The launcher's main job: builds setup.exe and runs it under Wine on the bundled sample
# package, once as Windows XP and once as Windows 98 SE.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32
python3 scripts/run_sample.py
