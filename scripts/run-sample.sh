#!/usr/bin/env bash
# The launcher's main job: builds setup.exe and runs it under Wine on the bundled sample
# package, once as Windows XP and once as Windows 98 SE, then says what 2000 and XP make of its
# signed catalog, builds the floppy and CD images the sample ships on and checks them. Where the
# kernel runs no 32-bit code, it builds and runs the 64-bit build of the same sources under
# wine64 instead, and says so.
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

# The disks the sample ships on, made and read back by keycheck (its release build).
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
keycheck=build/release/tools/keycheck/keycheck
mkdir -p build/sample
echo
# The sample's catalog, signed with a throwaway vendor certificate, and what 2000 and XP make of it.
python3 scripts/sign-sample.py "$keycheck" build/release/tools/keycheck/make_catalog
"$keycheck" catalog sample/package
echo
for image in "--floppy build/sample/hx5820.img" "--floppy build/sample/hx5820-f6.img --f6" \
    "--cd build/sample/hx5820.iso"; do
    # shellcheck disable=SC2086  # each image's options are several words
    "$keycheck" disk build sample/package --label HX5820 $image
done
for image in build/sample/hx5820.img build/sample/hx5820-f6.img build/sample/hx5820.iso; do
    echo "== keycheck disk check $image"
    # The sample holds no install.exe of its own, which lint says: status 1 is expected.
    "$keycheck" disk check "$image" | grep -E '^keycheck (disk check|lint|xref|txtsetup)|^Result|finding|install.exe is missing' || true
done
echo
echo "The sample's disks: $(cd build/sample && pwd)/hx5820.img (floppy), hx5820-f6.img (F6 floppy), hx5820.iso (CD)"
