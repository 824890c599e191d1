#!/usr/bin/env bash
# Rewrites tests/fault_sweep_expected.txt from the launcher as it is now, after a deliberate
# change of behaviour; read every changed line (git diff) before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset host >/dev/null
cmake --build --preset host --target print_fault_sweep
build/host/print_fault_sweep >tests/fault_sweep_expected.txt
git diff --stat -- tests/fault_sweep_expected.txt
