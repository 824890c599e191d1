#!/usr/bin/env python3
"""keycheck survey and match on a driver library the test writes, one folder per pattern met in
real libraries (our own INFs and F6 files): two INFs for one controller with different
DriverVer dates, one signed in the WHQL shape, a folder whose INF copies a file it lacks, an F6
file with the USB floppy lines, a DOS end-of-file mark and a "%" in a PCI ID, an INF of 0 bytes
and one of 40 MB, a link that loops, a name in another code page, a folder that cannot be read.

Each row states what the survey says of a folder, or which INF match chooses for a device on a
version; the survey's JSON Lines are the same whatever --jobs.

    library_test.py KEYCHECK SOURCE_DIR [MAKE_CATALOG]
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "catalog"))
import catalog_fixture as fixture  # noqa: E402

failures = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def inf(driver_ver, device="PCI\\VEN_1A2B&DEV_5820", copies="hx.sys", catalog=None,
        decorated=True):
    """An INF every version reads: its models line installs device."""
    install = "Inst.NT" if decorated else "Inst"
    text = ["[Version]", 'Signature="$Chicago$"', "Class=SCSIAdapter", "Provider=%P%",
            "DriverVer=" + driver_ver]
    if catalog:
        text.append("CatalogFile=" + catalog)
    text += ["[SourceDisksNames]", "1=%D%,,,", "[SourceDisksFiles]", copies + "=1",
             "[Manufacturer]", "%P%=M", "[M]", "%D%=Inst," + device, "[Inst]", "CopyFiles=F",
             "[%s]" % install if decorated else "", "CopyFiles=F" if decorated else "",
             "[F]", copies, "[Strings]", 'P="HX"', 'D="HX disk"']
    return ("\r\n".join(line for line in text if line) + "\r\n").encode("latin-1")


F6 = ("[Disks]\r\nd1 = \"Disk\", \\hx.tag, \\\r\n[Defaults]\r\nscsi = HX\r\n[scsi]\r\n"
      "HX = \"HX controller\"\r\n[Files.scsi.HX]\r\ndriver = d1, hx.sys, hx\r\n"
      "inf = d1, hx.inf\r\n[HardwareIds.scsi.HX]\r\nid = \"PCI\\VEN_1A2B&DEV_5820\", \"hx\"\r\n"
      "id = \"PCI\\VEN_1A2B%DEV_5821\", \"hx\"\r\n"
      "id = \"USB\\VID_03F0&PID_2001\", \"usbstor\" #--HP\r\n\x1a").encode("latin-1")


def write(folder, files):
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        (folder / name).write_bytes(data)


def library(root, make_catalog):
    """The library, and whether its signed folder was made."""
    write(root / "vendorA" / "raid-2003", {"hx.inf": inf("01/01/2003,1.0.0.0"), "hx.sys": b"a"})
    write(root / "vendorB" / "raid-2004", {"hx.inf": inf("06/01/2004,2.0.0.0"), "hx.sys": b"b"})
    write(root / "vendorB" / "raid-9x-style",
          {"hx.inf": inf("06/01/2005,3.0.0.0", decorated=False), "hx.sys": b"c"})
    write(root / "broken" / "missing-copy", {"hx.inf": inf("01/01/2002", copies="gone.sys")})
    write(root / "f6" / "usb-floppy", {"TXTSETUP.OEM": F6, "hx.tag": b"t", "hx.sys": b"d",
                                       "hx.inf": inf("01/01/2003")})
    write(root / "odd" / "zero", {"zero.inf": b""})
    # A tool's INF installs through [DefaultInstall] and names no device (a mouse driver's
    # 9xinst.inf in a public Windows 9x driver collection, fragglet/win9x-essentials).
    write(root / "tools" / "helper", {"setup.inf": b"[Version]\r\nSignature=$Chicago$\r\n"
                                      b"[DefaultInstall]\r\nCopyFiles=F\r\n[F]\r\nh.drv\r\n",
                                      "h.drv": b"h"})
    write(root / "odd" / "huge", {})
    with open(root / "odd" / "huge" / "huge.inf", "wb") as out:
        out.truncate(40 << 20)
    os.symlink("..", root / "odd" / "loop")
    os.symlink("nowhere.inf", root / "odd" / "dangling.inf")
    write(Path(os.fsdecode(bytes(root) + b"/odd/caf\xe9")),
          {"x.inf": inf("01/01/2001"), "hx.sys": b"f"})
    locked = root / "odd" / "locked"
    write(locked, {"x.inf": inf("01/01/2001"), "hx.sys": b"g"})
    os.chmod(locked, 0)
    signed = False
    if make_catalog and shutil.which("openssl"):
        folder = root / "vendorC" / "raid-whql"
        write(folder, {"hx.inf": inf("01/01/2002,0.9.0.0", catalog="hx.cat"), "hx.sys": b"e"})
        with tempfile.TemporaryDirectory() as keys:
            ms_root = fixture.root(keys, "Microsoft Root Authority")
            whql = fixture.leaf(keys, ms_root, "Microsoft Windows Hardware Compatibility "
                                "Publisher", fixture.WHQL_USAGE)
            members = [(fixture.file_hash(folder / name), name, "2:5.00,2:5.1", False)
                       for name in ("hx.inf", "hx.sys")]
            fixture.build(make_catalog, folder / "hx.cat", members, [("OS", "2000,XPX86")],
                          whql, [])
        signed = True
    return locked, signed


def run(keycheck, *args, cwd):
    return subprocess.run([keycheck] + [str(a) for a in args], capture_output=True, cwd=cwd,
                          timeout=300)


def main():
    keycheck, source = sys.argv[1], Path(sys.argv[2]).resolve()
    make_catalog = sys.argv[3] if len(sys.argv) > 3 else None
    with tempfile.TemporaryDirectory() as work:
        root = Path(work) / "library"
        locked, signed = library(root, make_catalog)
        can_lock = not os.access(locked, os.R_OK)
        try:
            one = run(keycheck, "survey", root, "--json", "--jobs", "1", cwd=source)
            two = run(keycheck, "survey", root, "--json", "--jobs", "2", cwd=source)
            text = run(keycheck, "survey", root, cwd=source)
        finally:
            os.chmod(locked, 0o755)
        check(one.stdout == two.stdout and one.returncode == two.returncode == 1,
              "survey's JSON Lines are the same with --jobs 1 and 2 (status %d, %d)"
              % (one.returncode, two.returncode))
        check(one.stderr == b"" and text.stderr == b"", "nothing on standard error off a terminal")
        lines = [json.loads(line) for line in one.stdout.decode("ascii").splitlines()]
        folders = [line["folder"] for line in lines[:-1]]
        check(folders == sorted(folders, key=lambda f: f.encode("latin-1")),
              "folders in path order: %r" % folders)
        check("odd/loop" not in " ".join(folders) and "odd/loop/" not in " ".join(folders),
              "the link that loops is not walked")
        by = {line["folder"]: line for line in lines[:-1]}

        def codes(folder):
            found = by.get(folder, {"findings": [], "warnings": []})
            return sorted(f["code"] for f in found["findings"] + found["warnings"])

        # An INF without a catalog is unsigned on 2000 and XP: a warning in every unsigned folder.
        expected = {
            "vendorA/raid-2003": ["no-catalog"],
            "broken/missing-copy": ["missing-package-file", "missing-source-file", "no-catalog"],
            "f6/usb-floppy": ["bad-pci-id", "no-catalog"],
            "odd/huge": ["inf-too-large"],
            "odd/caf\xe9": ["no-catalog"],
            "tools/helper": [],
        }
        if signed:
            expected["vendorC/raid-whql"] = []
        if can_lock:
            expected["odd/locked"] = ["unreadable"]
        for folder, want in expected.items():
            check(folder in by and codes(folder) == want,
                  "%s: %r (said %r)" % (folder, want, codes(folder)))
        zero = by.get("odd/zero", {}).get("infs", [{}])
        check(zero and zero[0].get("versions") == [] and codes("odd/zero") != [],
              "an INF of 0 bytes is read by no version and said so: %r" % codes("odd/zero"))
        raid = by.get("vendorB/raid-2004", {}).get("infs", [{}])[0]
        check(raid.get("driverVer") == "06/01/2004,2.0.0.0" and raid.get("class") ==
              "SCSIAdapter" and raid.get("versions") == ["98se", "me", "2000", "xp"] and
              raid.get("ids") == ["PCI\\VEN_1A2B&DEV_5820"],
              "an INF's [Version] facts, versions and IDs: %r" % raid)
        summary = lines[-1].get("summary", {})
        check(summary.get("findings", {}).get("inf-too-large") == 1 and
              summary.get("folders") == len(lines) - 1,
              "the summary comes last and adds the folders up: %r" % summary)
        check(b"Findings by code:" in text.stdout and b"The folders with the most findings"
              in text.stdout, "the text report gives the codes and the worst folders")
        # A part of the library surveyed alone gives the whole's lines for its folders, their
        # paths below the part (the README's way of splitting a library across machines).
        part = run(keycheck, "survey", root / "vendorB", "--json", cwd=source)
        parts = [json.loads(line) for line in part.stdout.decode("ascii").splitlines()][:-1]
        for line in parts:
            line["folder"] = "vendorB/" + line["folder"]
        check(parts == [line for line in lines[:-1] if line["folder"].startswith("vendorB/")],
              "a part surveyed alone gives the whole survey's lines for its folders")

        # match: the sample's XP and 98 SE machines, whose controller is VEN_1A2B&DEV_5820.
        rows = [("98se", "machine-98se.reg", "vendorB/raid-9x-style/hx.inf"),
                ("me", "machine-98se.reg", "vendorB/raid-9x-style/hx.inf"),
                ("2000", "machine-xp.reg", "vendorC/raid-whql/hx.inf" if signed else
                 "vendorB/raid-9x-style/hx.inf"),
                ("xp", "machine-xp.reg", "vendorC/raid-whql/hx.inf" if signed else
                 "vendorB/raid-2004/hx.inf")]
        for version, machine, chosen in rows:
            said = run(keycheck, "match", source / "sample" / machine, root, "--os", version,
                       "--json", cwd=source)
            document = json.loads(said.stdout) if said.stdout else {"devices": []}
            device = [d for d in document["devices"] if d["key"].startswith("VEN_1A2B&DEV_5820")]
            got = device[0]["chosen"]["inf"] if device and device[0]["chosen"] else None
            others = [d for d in document["devices"] if not d["key"].startswith("VEN_1A2B")]
            check(got == chosen and said.returncode == 1 and
                  all(d["chosen"] is None for d in others),
                  "match on %s chooses %s, and nothing for the other devices (said %s, %d)"
                  % (version, chosen, got, said.returncode))
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
