#!/usr/bin/env python3
"""keycheck disk build and disk check on the sample package: each image is the same bytes twice,
the files come back out of it (read with mtools and bsdtar, not from the folder) as they went
in, and disk check reads it; a package that does not fit, a name a CD without Joliet would
change, and a damaged or cut-short image are refused.

    disk_image_test.py KEYCHECK SOURCE_DIR      (exit 77, skipped, without mtools or xorriso)
"""
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
