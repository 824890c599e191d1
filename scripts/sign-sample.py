#!/usr/bin/env python3
"""Signs the sample package: makes sample/package/drv/hx5820.cat a real catalog of the sample's
driver files, signed with a throwaway certificate made for the purpose (a vendor's, not
Microsoft's: XP prompts for it), whose key is deleted once it has signed. The catalog is made
anew only when keycheck finds that it no longer covers the files, so that the same sample keeps
the same catalog, or when --anew asks for it (after make_catalog changes what it writes).

    sign-sample.py KEYCHECK MAKE_CATALOG [--anew]
"""
import json
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tools" / "keycheck" / "tests" / "catalog"))
import catalog_fixture as fixture  # noqa: E402

DRV = ROOT / "sample" / "package" / "drv"
CATALOG = DRV / "hx5820.cat"


def covered(keycheck):
    said = subprocess.run([keycheck, "catalog", str(ROOT / "sample" / "package"), "--json"],
                          capture_output=True)
    if not said.stdout:
        return False
    document = json.loads(said.stdout)
    return all(inf["trusted"] for inf in document["infs"] if inf["checks"])


def main():
    keycheck, make_catalog = sys.argv[1], sys.argv[2]
    if "--anew" not in sys.argv[3:] and covered(keycheck):
        print("sign-sample.py: %s covers the sample's files as it is" % CATALOG.relative_to(ROOT))
        return 0
    members = []
    for path in sorted(DRV.iterdir(), key=lambda p: p.name.lower()):
        if path != CATALOG:
            members.append((fixture.file_hash(path), path.name, "2:5.00,2:5.1", False))
    with tempfile.TemporaryDirectory() as work:
        root = fixture.root(work, "HX Technology Test Root")
        signer = fixture.leaf(work, root, "HX Technology (test signing)")
        fixture.build(make_catalog, CATALOG, members, [("OS", "2000,XPX86")], signer, [root[0]])
    print("sign-sample.py: %s signed anew with a throwaway certificate" % CATALOG.relative_to(ROOT))
    return 0 if covered(keycheck) else 1


if __name__ == "__main__":
    sys.exit(main())
