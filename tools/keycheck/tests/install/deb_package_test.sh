#!/bin/sh
# keycheck's Debian package, unpacked into a temporary root as dpkg would install it: the
# program runs on the sample package, and its manual page names every verb.
# usage: deb_package_test.sh SOURCE_DIR; skipped (77) until the release build's cpack made it.
set -eu
source_dir="$1"
deb=$(ls "$source_dir"/build/release/keycheck_*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
    echo "SKIP: no build/release/keycheck_*.deb (cmake --build --preset release; cd build/release; cpack)"
    exit 77
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
fail() { echo "FAIL: $*"; exit 1; }
keycheck="$root/usr/bin/keycheck"
[ -x "$keycheck" ] || fail "the package holds no usr/bin/keycheck"
[ "$(dpkg-deb -f "$deb" Package)" = keycheck ] || fail "the package is not named keycheck"
dpkg-deb -f "$deb" Depends | grep -q 'libstdc++6' || fail "no dependency on the C++ runtime"
dpkg-deb -f "$deb" Depends | grep -q 'libtsk19' || fail "no dependency on The Sleuth Kit, loaded late"
cd "$source_dir"
"$keycheck" --version | grep -q '^keycheck [0-9]' || fail "--version says no version"
out=$("$keycheck" xref sample/package) || fail "xref on the sample exits $?"
echo "$out" | head -n 1 | grep -qx 'keycheck xref sample/package' || fail "xref's report: $out"
# The sample's catalog is a vendor's, which xref warns of: no finding, one warning.
echo "$out" | tail -n 1 | grep -qx 'Result: 0 findings, 1 warning' ||
    fail "xref's result: $(echo "$out" | tail -n 1)"
"$keycheck" predict sample/package --os xp --registry sample/machine-xp.reg >/dev/null ||
    fail "predict on the sample's XP machine exits $?"
page="$root/usr/share/man/man1/keycheck.1"
[ -f "$page" ] || fail "no manual page"
for verb in lint predict devices xref gen; do
    grep -q "^\.SS keycheck $verb" "$page" || fail "the manual page has no section for $verb"
done
[ -f "$root/usr/share/doc/keycheck/README.md" ] || fail "no manual beside the page"
echo "ok: $(basename "$deb") unpacked and run"
