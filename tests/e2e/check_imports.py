#!/usr/bin/env python3
"""Checks that setup.exe imports only functions checked present on Windows 98 SE, Me, 2000, XP.

    check_imports.py SETUP_EXE TABLE

TABLE (imports_checked.txt) holds one checked function a line: DLL, function, and where its
presence on the four versions was checked. An import the table lacks fails the check: a
compiler or C-library update that adds one would make setup.exe fail to load on 98 SE with a
loader error. Check the new function, then add its row. Rows no longer imported are listed.
"""
import sys
from pathlib import Path

import check_pe


def read_table(path):
    rows = {}
    for line in Path(path).read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            dll, function, source = line.split(None, 2)
            rows[(dll.lower(), function)] = source
    return rows


def main():
    if len(sys.argv) != 3:
        print("usage: check_imports.py SETUP_EXE TABLE", file=sys.stderr)
        return 2
    pe = check_pe.PE(Path(sys.argv[1]).read_bytes())
    imported = [(dll.lower(), name) for dll, name in pe.imported_functions()]
    checked = read_table(sys.argv[2])
    new = [pair for pair in imported if pair not in checked]
    for dll, name in new:
        print("FAIL new import %s!%s: check it is present on Windows 98 SE, Me, 2000 and XP, "
              "then add its row to %s" % (dll, name, sys.argv[2]))
    for dll, name in sorted(set(checked) - set(imported)):
        print("info: %s!%s is checked but no longer imported" % (dll, name))
    print("%s: %d imports, %d of them new" % ("FAIL" if new else "ok", len(imported), len(new)))
    return 1 if new else 0


if __name__ == "__main__":
    sys.exit(main())
