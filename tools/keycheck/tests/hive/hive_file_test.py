#!/usr/bin/env python3
"""keycheck on SYSTEM hive files built from a fixture export with hivexregedit --merge
(make_hive.py): devices and predict read the control set Select names; a damaged or cut-short
hive is refused with one line and status 2, nothing on standard output.

    hive_file_test.py KEYCHECK SOURCE_DIR      (exit 77, skipped, without hivexregedit)
"""
import json
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
failures = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def main():
    keycheck, source = sys.argv[1], Path(sys.argv[2])
    if shutil.which("hivexregedit") is None:
        print("SKIP: no hivexregedit (Debian: libwin-hivex-perl)")
        return 77
    with tempfile.TemporaryDirectory() as folder:
        hive = Path(folder) / "SYSTEM"
        subprocess.run([sys.executable, str(HERE / "make_hive.py"), str(HERE / "system_hive.reg"),
                        str(hive)], check=True)
        run = lambda *args: subprocess.run([keycheck] + list(args), cwd=source,
                                           capture_output=True)
        devices = run("devices", str(hive), "--json")
        check(devices.returncode == 0, "devices reads the hive (status %d, %r)"
              % (devices.returncode, devices.stderr[-200:]))
        report = json.loads(devices.stdout) if devices.returncode == 0 else {}
        registry = report.get("registry", {})
        check(registry.get("format") == "hive" and registry.get("controlSet") == "ControlSet002",
              "it says it read a hive's ControlSet002: %r" % registry)
        names = [d["name"] for b in report.get("branches", []) for d in b.get("devices", [])]
        check(names == ["VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01",
                        "VEN_8086&DEV_7110&SUBSYS_00000000&REV_02"],
              "the devices of ControlSet002, not of ControlSet001: %r" % names)

        predict = run("predict", "sample/package", "--os", "xp", "--registry", str(hive))
        check(predict.returncode == 0 and b'"PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01"'
              in predict.stdout, "predict installs the controller of the hive's current set")

        data = hive.read_bytes()
        for name, damaged in [("cut short", data[:6000]), ("no bins", data[:4096]),
                              ("a wrong checksum", data[:0x1FC] + b"\0\0\0\0" + data[0x200:])]:
            path = Path(folder) / name.replace(" ", "-")
            path.write_bytes(damaged)
            refused = run("devices", str(path))
            lines = refused.stderr.decode().splitlines()
            check(refused.returncode == 2 and refused.stdout == b"" and len(lines) == 1
                  and lines[0].startswith("keycheck: %s: " % path),
                  "a hive %s is refused with one line: %r" % (name, lines))

        without = Path(folder) / "no-select.reg"
        text = (HERE / "system_hive.reg").read_text()
        without.write_text(text.replace("[\\Select]", "[\\Elsewhere]"))
        other = Path(folder) / "OTHER"
        subprocess.run([sys.executable, str(HERE / "make_hive.py"), str(without), str(other)],
                       check=True)
        refused = run("devices", str(other))
        check(refused.returncode == 2 and b"not a SYSTEM hive" in refused.stderr,
              "a hive without Select is no SYSTEM hive: %r" % refused.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
