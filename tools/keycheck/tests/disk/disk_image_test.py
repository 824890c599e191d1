#!/usr/bin/env python3
"""keycheck disk build and disk check on the sample package: each image is the same bytes twice,
the files come back out of it (read with mtools and bsdtar, not from the folder) as they went
in, and disk check reads it; a package that does not fit, a name a CD without Joliet would
change, and a damaged or cut-short image are refused. RULES holds what disk check says of disks
made from the sample changed one way each.

    disk_image_test.py KEYCHECK SOURCE_DIR      (exit 77, skipped, without mtools or xorriso)
"""
import json
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

failures = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


# (name, change to a copy of the sample, medium flags, status, said, not said): disk check of the
# disk built from the changed copy exits with status and its report holds each text of said and
# none of not said. The report names the image, never the folder it was read into.
RULES = [
    ("sample-cd", None, ["--cd"], 1,
     ["keycheck lint IMAGE ", "keycheck xref IMAGE\n", "keycheck txtsetup IMAGE\n"],
     ["keycheck-disk-"]),
    # Windows and the launcher find key.ini whatever its case.
    ("key-file-in-mixed-case", "rename key.ini Key.ini", ["--cd"], 1,
     ["keycheck lint IMAGE ", "key.ini: 119 bytes", "keycheck xref IMAGE\n"],
     ["nothing of a driver package"]),
    ("key-file-in-mixed-case-no-f6", "rename key.ini Key.ini; remove TXTSETUP.OEM", ["--cd"], 1,
     # The sample's catalog is a vendor's, which xref warns of; nothing else is said.
     ["keycheck xref IMAGE\n", "Result: 0 findings, 1 warning"],
     ["nothing of a driver package", "txtsetup"]),
    ("iso9660-names", None, ["--cd", "--no-joliet"], 1,
     ["its 8.3 names", "keycheck lint IMAGE ", "present  Drv\\hx5820.inf"], []),
    ("floppy-long-names", None, ["--floppy"], 1, ["a FAT floppy image, its long names"], []),
    ("f6-floppy", None, ["--floppy", "--f6"], 0,
     ["keycheck txtsetup IMAGE\n", "Result: clean"], ["keycheck lint"]),
    ("no-package", "remove key.ini; remove TXTSETUP.OEM", ["--cd"], 1,
     ["no key.ini and no TXTSETUP.OEM on the disk: nothing of a driver package"],
     ["keycheck lint"]),
]


def changed_copy(sample, folder, change):
    """A copy of the sample package in folder, changed: "rename A B" and "remove A" steps."""
    shutil.copytree(sample, folder)
    for step in (change or "").split(";"):
        words = step.split()
        if words and words[0] == "rename":
            (folder / words[1]).rename(folder / words[2])
        elif words and words[0] == "remove":
            (folder / words[1]).unlink()
    return folder


def files_of(folder):
    """{relative path in upper case: bytes} of every file below folder."""
    return {str(p.relative_to(folder)).upper(): p.read_bytes()
            for p in Path(folder).rglob("*") if p.is_file()}


def main():
    keycheck, source = sys.argv[1], Path(sys.argv[2])
    for tool in ("mformat", "mcopy", "xorriso", "bsdtar"):
        if shutil.which(tool) is None:
            print("SKIP: no %s (Debian: mtools, xorriso, libarchive-tools)" % tool)
            return 77
    sample = source / "sample" / "package"
    run = lambda *args: subprocess.run([keycheck] + [str(a) for a in args], capture_output=True)
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        for name, args in [("floppy", ["--floppy"]), ("cd", ["--cd"]),
                           ("cd-iso9660", ["--cd"]), ("f6", ["--floppy"])]:
            images = []
            for copy in (1, 2):
                image = work / ("%s-%d.img" % (name, copy))
                extra = ["--no-joliet"] if name == "cd-iso9660" else []
                extra += ["--f6"] if name == "f6" else []
                built = run("disk", "build", sample, args[0], image, "--label", "HX5820", *extra)
                check(built.returncode == 0, "%s built (%r)" % (name, built.stderr[-200:]))
                images.append(image.read_bytes() if image.exists() else b"")
            check(images[0] == images[1] and images[0], "%s: the same bytes twice" % name)
            image = work / ("%s-1.img" % name)
            if name in ("floppy", "f6"):
                check(len(images[0]) == 1474560, "%s: 1,474,560 bytes" % name)
            out = work / ("out-" + name)
            out.mkdir()
            if name in ("floppy", "f6"):
                subprocess.run(["mcopy", "-s", "-n", "-i", str(image), "::/*", str(out)],
                               check=True, capture_output=True)
            else:
                subprocess.run(["bsdtar", "--options", "!rockridge", "-xf", str(image), "-C",
                                str(out)], check=True)
            got, want = files_of(out), files_of(sample)
            if name == "f6":
                want = {k: v for k, v in want.items() if k in (
                    "TXTSETUP.OEM", "HX5820.TAG", "DRV/HX5820.SYS", "DRV/HX5820.INF",
                    "DRV/HX5820.CAT")}
            check(got == want, "%s: the files come back as they went in (%s)"
                  % (name, sorted(set(got) ^ set(want))))
            checked = run("disk", "check", image)
            # The sample has no install.exe of its own: lint says so, and nothing else.
            expected = 0 if name == "f6" else 1
            check(checked.returncode == expected and b"Result: clean" in checked.stdout,
                  "%s: disk check reads it (status %d)" % (name, checked.returncode))

        # mkdosfs leaves the volume label blank, which fsck.fat would tidy: four of five F6
        # floppies published with paravirtual and SCSI drivers were made so. Every file reads,
        # so the image is read, with a warning.
        blank = work / "blank-label.img"
        data = bytearray((work / "f6-1.img").read_bytes())
        data[43:54] = b" " * 11
        blank.write_bytes(bytes(data))
        untidy = run("disk", "check", blank)
        check(untidy.returncode == 0 and b"[fat-untidy]" in untidy.stdout
              and b"Result: clean" in untidy.stdout,
              "a floppy with a blank label is read, fat-untidy its warning (status %d, %r)"
              % (untidy.returncode, untidy.stderr[-200:]))

        for name, change, medium, status, said, not_said in RULES:
            image = work / (name + ".img")
            package = changed_copy(sample, work / ("rule-" + name), change)
            built = run("disk", "build", package, medium[0], image, *medium[1:])
            checked = run("disk", "check", image)
            report = checked.stdout.decode("utf-8").replace(str(image), "IMAGE")
            missing = [text for text in said if text not in report]
            present = [text for text in not_said if text in report]
            check(built.returncode == 0 and checked.returncode == status and not missing
                  and not present, "%s: status %d, says %s, says none of %s (status %d, missing %r,"
                  " present %r)" % (name, status, said, not_said, checked.returncode, missing,
                                    present))
            as_json = run("disk", "check", image, "--json")
            document = json.loads(as_json.stdout) if as_json.stdout else {}
            check(as_json.returncode == status and document.get("image") == str(image)
                  and document.get("exitStatus") == status,
                  "%s: disk check --json names the image and its status" % name)

        big = work / "big"
        shutil.copytree(sample, big)
        (big / "drv" / "firmware.bin").write_bytes(b"\0" * 1500000)
        refused = run("disk", "build", big, "--floppy", work / "big.img")
        check(refused.returncode == 1 and b"do not fit a 1,474,560-byte floppy" in refused.stderr
              and not (work / "big.img").exists(), "a package too large for a floppy is refused")
        (big / "drv" / "hx5820controller.sys").write_bytes(b"driver")
        refused = run("disk", "build", big, "--cd", work / "long.iso", "--no-joliet")
        check(refused.returncode == 1 and b"no ISO 9660 name without Joliet" in refused.stderr,
              "a long name on a CD without Joliet is refused")

        floppy = (work / "floppy-1.img").read_bytes()
        cd = (work / "cd-1.img").read_bytes()
        for name, damaged in [("cut.img", floppy[:600000]), ("cut.iso", cd[:60000]),
                              ("noise.img", b"\x55" * 1474560), ("tiny.iso", b"CD001")]:
            (work / name).write_bytes(damaged)
            refused = run("disk", "check", work / name)
            lines = refused.stderr.decode().splitlines()
            check(refused.returncode == 2 and refused.stdout == b"" and len(lines) == 1,
                  "%s is refused with one line: %r" % (name, lines))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
