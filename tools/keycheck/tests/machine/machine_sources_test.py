#!/usr/bin/env python3
"""keycheck devices and predict on a machine as it is offline, one row per source: Windows 98/Me
registry files (written by make_creg.py, proved by libcreg's own cregexport), disk images that
hold them or a 2000/XP hive (FAT made with mkfs.fat and mtools, NTFS with mkntfs and
ntfs_put.py, partition tables with sfdisk, VHD, VMDK and qcow2 with qemu-img convert), and
exports of a hive loaded under another name. Each row states its exit status and what the
output says; a refusal is one line on standard error and nothing on standard output, and no
row may take longer than its timeout.

Patterns met on real files, written here as our own: a Me SYSTEM.DAT whose HardwareID values
are comma-separated strings; an export of HKLM\\OFFLINE\\ControlSet001\\Enum\\PCI after reg load,
with no Select; hivexregedit's exports, every REG_SZ as hex(1); Vista's indirect descriptions
("@usbport.inf,%key%;Standard OpenHCD USB Host Controller").

    machine_sources_test.py KEYCHECK SOURCE_DIR    (exit 77, skipped, without the tools)
"""
import shutil
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
TESTS = HERE.parent
TOOLS = ["cregexport", "hivexregedit", "mkfs.fat", "mmd", "mcopy", "sfdisk", "mkntfs",
         "qemu-img"]
HX = "VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01"
TIMEOUT = 60
failures = []


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def run(command, **options):
    return subprocess.run([str(c) for c in command], check=True, capture_output=True, **options)


def version_reg(folder, name, text):
    path = folder / name
    path.write_text("REGEDIT4\n\n" + text.replace("\n", "\r\n"), encoding="latin-1")
    return path


def creg(folder, name, *exports):
    path = folder / name
    run([sys.executable, TESTS / "creg" / "make_creg.py", path] + list(exports))
    return path


def hive(folder, name, export):
    path = folder / name
    run([sys.executable, TESTS / "hive" / "make_hive.py", export, path])
    return path


def fat(image, offset, size, files, fat_bits=16):
    """A FAT file system of size bytes at offset in image, holding files {path: local}."""
    run(["mkfs.fat", "-F", fat_bits, "--offset", offset // 512, "-n", "KEYCHECK", image,
         size // 1024])
    where = "%s@@%d" % (image, offset)
    made = set()
    for path, local in files.items():
        parts = path.split("/")
        for depth in range(1, len(parts)):
            folder = "/".join(parts[:depth])
            if folder not in made:
                made.add(folder)
                run(["mmd", "-i", where, "::/" + folder])
        run(["mcopy", "-i", where, local, "::/" + path])


def ntfs(folder, size, files):
    """An NTFS file system of size bytes holding files {path: local}, as a file's bytes."""
    part = folder / "ntfs.part"
    part.unlink(missing_ok=True)
    with open(part, "wb") as out:
        out.truncate(size)
    run(["mkntfs", "-F", "-Q", "-q", "-s", 512, "-p", 0, "-H", 255, "-S", 63, part])
    run([sys.executable, HERE.parent / "diskimage" / "ntfs_put.py", part] +
        ["%s=%s" % (p, l) for p, l in files.items()])
    return part.read_bytes()


def disk(path, size, table):
    """A sparse disk of size bytes with an MBR partition table in sfdisk's script form."""
    with open(path, "wb") as out:
        out.truncate(size)
    subprocess.run(["sfdisk", "-q", str(path)], input=table.encode(), check=True,
                   capture_output=True)
    return path


def place(image, offset, data):
    with open(image, "r+b") as out:
        out.seek(offset)
        out.write(data)


def build(folder, source):
    """The fixtures: {name: path}."""
    made = {}
    sample = source / "sample"
    v98se = version_reg(folder, "v98se.reg", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows"
                        "\\CurrentVersion]\n\"VersionNumber\"=\"4.10.2222\"\n")
    vme = version_reg(folder, "vme.reg", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows"
                      "\\CurrentVersion]\n\"VersionNumber\"=\"4.90.3000\"\n")
    v95 = version_reg(folder, "v95.reg", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows"
                      "\\CurrentVersion]\n\"VersionNumber\"=\"4.00.950\"\n")
    made["98se.dat"] = creg(folder, "98se.dat", sample / "machine-98se.reg", v98se)
    made["me.dat"] = creg(folder, "me.dat", sample / "machine-98se.reg", vme)
    made["95.1st"] = creg(folder, "95.1st", v95)
    made["system"] = hive(folder, "SYSTEM", TESTS / "hive" / "system_hive.reg")
    software_reg = folder / "software.reg"
    software_reg.write_text("Windows Registry Editor Version 5.00\r\n\r\n"
                            "[\\Microsoft]\r\n\r\n[\\Microsoft\\Windows NT]\r\n\r\n"
                            "[\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
                            "\"CurrentVersion\"=\"5.1\"\r\n\"CSDVersion\"=\"Service Pack 2\"\r\n")
    software = hive(folder, "SOFTWARE", software_reg)

    # 98/Me registry files whose offsets lie, or cut short.
    data = made["98se.dat"].read_bytes()
    looping = bytearray(data)
    looping[0x40 + 28 * 3 + 20:0x40 + 28 * 3 + 24] = struct.pack("<I", 0x20 + 28 * 3)
    made["looping.dat"] = folder / "looping.dat"
    made["looping.dat"].write_bytes(bytes(looping))
    outside = bytearray(data)
    outside[0x40 + 28 * 1 + 16:0x40 + 28 * 1 + 20] = struct.pack("<I", 0x7FFFFFF0)
    made["outside.dat"] = folder / "outside.dat"
    made["outside.dat"].write_bytes(bytes(outside))
    made["cut.dat"] = folder / "cut.dat"
    made["cut.dat"].write_bytes(data[:len(data) // 2])

    # Exports of a hive loaded under another name.
    xp = (sample / "machine-xp.reg").read_bytes().decode("utf-16")
    offline = xp.replace("SYSTEM\\CurrentControlSet", "OFFLINE\\ControlSet001")
    made["offline.reg"] = folder / "offline.reg"
    made["offline.reg"].write_bytes(b"\xff\xfe" + offline.encode("utf-16-le"))
    two = offline + offline.split("\r\n", 1)[1].replace("ControlSet001", "ControlSet002")
    made["two-sets.reg"] = folder / "two-sets.reg"
    made["two-sets.reg"].write_bytes(b"\xff\xfe" + two.encode("utf-16-le"))
    made["hivex.reg"] = folder / "hivex.reg"
    made["hivex.reg"].write_bytes(run(["hivexregedit", "--export", made["system"],
                                       "\\ControlSet002\\Enum\\PCI"]).stdout)
    indirect = xp.replace('"DeviceDesc"="RAID Controller"',
                          '"DeviceDesc"="@hx5820.inf,%HX5820.DeviceDesc%;HX5820 RAID (indirect)"')
    made["indirect.reg"] = folder / "indirect.reg"
    made["indirect.reg"].write_bytes(b"\xff\xfe" + indirect.encode("utf-16-le"))
    made["no-branch.reg"] = folder / "no-branch.reg"
    made["no-branch.reg"].write_text("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n")

    # Disk images.
    mib = 1 << 20
    fat98 = disk(folder / "fat98.img", 64 * mib, "label: dos\nstart=2048, type=c, bootable\n")
    fat(fat98, mib, 63 * mib, {"WIN98/SYSTEM.DAT": made["98se.dat"],
                               "WIN98/WIN.INI": v98se}, fat_bits=32)
    made["fat98.img"] = fat98
    bare = folder / "bare-me.img"
    with open(bare, "wb") as out:
        out.truncate(32 * mib)
    fat(bare, 0, 32 * mib, {"WINDOWS/SYSTEM.DAT": made["me.dat"]})
    made["bare-me.img"] = bare
    logical = disk(folder / "logical-xp.img", 64 * mib,
                   "label: dos\nstart=2048, size=16MiB, type=6\nstart=34816, type=5\n"
                   "start=36864, type=7\n")
    fat(logical, mib, 16 * mib, {"DATA/README.TXT": v98se})
    place(logical, 36864 * 512, ntfs(folder, 44 * mib, {
        "WINNT/system32/config/SYSTEM": made["system"],
        "WINNT/system32/config/SOFTWARE": software}))
    made["logical-xp.img"] = logical
    both = disk(folder / "both.img", 96 * mib,
                "label: dos\nstart=2048, size=40MiB, type=6\nstart=83968, type=7\n")
    fat(both, mib, 40 * mib, {"WIN98/SYSTEM.DAT": made["98se.dat"]})
    place(both, 83968 * 512, ntfs(folder, 54 * mib, {"WINXP/system32/config/SYSTEM":
                                                     made["system"]}))
    made["both.img"] = both
    empty = disk(folder / "empty.img", 32 * mib, "label: dos\nstart=2048, type=6\n")
    fat(empty, mib, 31 * mib, {"DOS/COMMAND.COM": v98se})
    made["empty.img"] = empty
    for fmt, suffix, extra in [("vpc", "vhd", []), ("vpc", "fixed.vhd", ["-o", "subformat=fixed"]),
                               ("vmdk", "vmdk", []), ("qcow2", "qcow2", []), ("vdi", "vdi", [])]:
        made["fat98." + suffix] = folder / ("fat98." + suffix)
        run(["qemu-img", "convert", "-O", fmt] + extra + [fat98, made["fat98." + suffix]])
    # A qcow2 overlay, named relative to its own folder, as virtual machine managers make them.
    made["overlay.qcow2"] = folder / "overlay.qcow2"
    run(["qemu-img", "create", "-f", "qcow2", "-b", "fat98.qcow2", "-F", "qcow2",
         made["overlay.qcow2"]], cwd=folder)
    made["orphan.qcow2"] = folder / "orphan.qcow2"
    run(["qemu-img", "create", "-f", "qcow2", "-b", "gone.qcow2", "-F", "qcow2", "-u",
         made["orphan.qcow2"], "64M"], cwd=folder)

    # Damaged images: a partition past the disk's end, two that overlap, a FAT chain that loops.
    past = bytearray(fat98.read_bytes()[:512])
    past[446 + 8:446 + 16] = struct.pack("<II", 1 << 30, 1 << 20)
    made["past-end.img"] = folder / "past-end.img"
    made["past-end.img"].write_bytes(bytes(past) + b"\0" * (mib - 512))
    overlap = disk(folder / "overlap.img", 64 * mib,
                   "label: dos\nstart=2048, size=30MiB, type=6\nstart=63488, type=6\n")
    fat(overlap, mib, 30 * mib, {"WIN98/SYSTEM.DAT": made["98se.dat"]})
    table = bytearray(overlap.read_bytes()[:512])
    table[446 + 16 + 8:446 + 16 + 12] = struct.pack("<I", 4096)  # the second starts in the first
    place(overlap, 0, bytes(table))
    made["overlap.img"] = overlap
    looped = folder / "fat-loop.img"
    shutil.copy(bare, looped)
    looped_fat(looped)
    made["fat-loop.img"] = looped
    return made


def looped_fat(image):
    """Makes every FAT16 entry past the reserved ones point at cluster 2: each chain loops."""
    with open(image, "r+b") as disk_file:
        boot = disk_file.read(512)
        reserved, fats, per_fat = (struct.unpack_from("<H", boot, 14)[0], boot[16],
                                   struct.unpack_from("<H", boot, 22)[0])
        for copy in range(fats):
            disk_file.seek((reserved + copy * per_fat) * 512 + 4)
            disk_file.write(struct.pack("<H", 2) * (per_fat * 256 - 2))


def rows():
    """(name, arguments, status, what the report says (a refusal's one line on stderr), what
    it must not say)."""
    refused = 2
    return [
        ("a 98 SE SYSTEM.DAT", ["devices", "@98se.dat"], 0,
         ["98/Me registry file (CREG)", "records VersionNumber 4.10.2222",
          "PCI devices under HKLM\\Enum\\PCI (98 SE/Me): 3", HX,
          "PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01"], []),
        ("predict takes the version the 98 SE file records",
         ["predict", "sample/package", "--registry", "@98se.dat"], 0,
         ["on Windows 98 SE", "version from the machine: VersionNumber 4.10.2222",
          "in the registry file's order, which is Windows' own", "Result: installs"], []),
        ("a Me SYSTEM.DAT", ["predict", "sample/package", "--registry", "@me.dat", "--json"], 0,
         ['"option":"me"', '"from":"VersionNumber 4.90.3000 in', '"format":"creg"'], []),
        ("--os against the machine's record: a warning, --os taken",
         ["predict", "sample/package", "--os", "me", "--registry", "@98se.dat"], 0,
         ["on Windows Me", "warning: --os me, but the machine records Windows 98 SE"], []),
        ("a 95 SYSTEM.1ST: no PCI branch, said plainly", ["devices", "@95.1st"], 1,
         ["The machine holds neither", "exit status 1"], []),
        ("no PCI branch in an export, the same status", ["devices", "@no-branch.reg"], 1,
         ["The machine holds neither"], []),
        ("a 98/Me file whose sibling chain loops", ["devices", "@looping.dat"], refused,
         ["looping.dat: a key's subkey or sibling offset points outside"], []),
        ("a 98/Me file whose offsets point outside", ["devices", "@outside.dat"], refused,
         ["outside.dat: "], []),
        ("a 98/Me file cut short", ["devices", "@cut.dat"], refused, ["cut.dat: "], []),
        ("a hive alone records no version", ["predict", "sample/package", "--registry", "@system"],
         refused, ["records no Windows version", "name it with --os"], []),
        ("an export of a hive loaded as OFFLINE, one control set, no Select",
         ["devices", "@offline.reg"], 0,
         ["OFFLINE\\ControlSet001 read as CurrentControlSet (the only control set)", HX], []),
        ("two control sets and no Select: --control-set is asked for",
         ["devices", "@two-sets.reg"], refused,
         ["OFFLINE\\ControlSet001, OFFLINE\\ControlSet002 and no Select", "--control-set"], []),
        ("--control-set chooses", ["devices", "@two-sets.reg", "--control-set", "2", "--json"],
         0, ['"controlSet":"OFFLINE\\\\ControlSet002"', '"controlSetHow":"--control-set"'], []),
        ("hivexregedit's export: hex(1) strings read as text", ["devices", "@hivex.reg"], 0,
         ['"HX5820 PCI RAID Controller"', "(the only control set)"], ["\\x00"]),
        ("an indirect description shows its text", ["devices", "@indirect.reg"], 0,
         ['"HX5820 RAID (indirect)"'], ["@hx5820.inf"]),
        ("a raw disk, FAT32 partition", ["predict", "sample/package", "--registry", "@fat98.img"],
         0, ["Windows folder C:\\WIN98", "WIN98\\SYSTEM.DAT on a disk image (raw), partition 1",
             "(FAT32)", "on Windows 98 SE", "C:\\WIN98\\system\\hx5820.sys", "Result: installs"],
         []),
        ("a bare FAT16 file system", ["devices", "@bare-me.img", "--json"], 0,
         ['"partitionText":"the whole image (FAT16)"', '"windowsDir":"C:\\\\WINDOWS"',
          '"option":"me"'], []),
        ("NTFS in a logical partition, the version from SOFTWARE",
         ["predict", "sample/package", "--registry", "@logical-xp.img"], 0,
         ["on Windows XP", "CurrentVersion 5.1, Service Pack 2", "partition 2",
          "(NTFS)", "WINNT\\system32\\config\\SYSTEM", "Result: installs"], []),
        ("two Windows: which one is asked for", ["devices", "@both.img"], refused,
         ["several Windows folders", "WIN98 (98/Me)", "WINXP (2000/XP)", "--partition"], []),
        ("--partition chooses", ["devices", "@both.img", "--partition", "2"], 0,
         ["WINXP\\system32\\config\\SYSTEM", "(2000/XP)"], []),
        ("--windir chooses", ["devices", "@both.img", "--windir", "C:\\win98"], 0,
         ["WIN98\\SYSTEM.DAT", "(98 SE/Me)"], []),
        ("--windir naming no folder there", ["devices", "@both.img", "--windir", "WINNT"],
         refused, ["no Windows folder there by the --partition and --windir given"], []),
        ("an image with no Windows", ["devices", "@empty.img"], refused,
         ["no Windows folder keycheck can read"], []),
        ("a dynamic VHD", ["devices", "@fat98.vhd"], 0, ["disk image (VHD)", HX], []),
        ("a fixed VHD", ["devices", "@fat98.fixed.vhd"], 0, ["disk image (VHD)", HX], []),
        ("a VMDK", ["devices", "@fat98.vmdk"], 0, ["disk image (VMDK)", HX], []),
        ("a qcow2", ["devices", "@fat98.qcow2"], 0, ["disk image (qcow2)", HX], []),
        ("a qcow2 overlay, read with the image below it", ["devices", "@overlay.qcow2"], 0,
         ["disk image (qcow2)", HX], []),
        ("a qcow2 overlay whose image below is gone", ["devices", "@orphan.qcow2"], refused,
         ["the image it is an overlay of is missing"], []),
        ("a VDI: named and refused, with the way round", ["devices", "@fat98.vdi"], refused,
         ["VirtualBox VDI", "qemu-img convert -O raw"], []),
        ("a partition past the disk's end", ["devices", "@past-end.img"], refused,
         ["its partition table: ", "Starting sector too large"], []),
        ("partitions that overlap", ["devices", "@overlap.img"], refused, ["overlap.img: "], []),
        ("a FAT whose chains loop", ["devices", "@fat-loop.img"], refused,
         ["fat-loop.img: "], []),
    ]


def main():
    keycheck, source = sys.argv[1], Path(sys.argv[2]).resolve()
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        print("SKIP: missing %s" % ", ".join(missing))
        return 77
    with tempfile.TemporaryDirectory() as work:
        folder = Path(work)
        made = build(folder, source)
        # The writer proved by libcreg's own tool: every key and the version are there.
        exported = run(["cregexport", made["98se.dat"]]).stdout.decode("latin-1")
        check("Key path: Enum\\PCI\\" + HX + "\\BUS_00&DEV_10&FUNC_00" in exported and
              "Data: 4.10.2222" in exported and "Data: PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000"
              "&REV_01,PCI\\VEN_1A2B&DEV_5820&SUBSYS_00000000," in exported,
              "cregexport reads the 98 SE file make_creg.py wrote")
        for name, arguments, status, said, unsaid in rows():
            command = [keycheck] + [str(made[a[1:]]) if a.startswith("@") else a
                                    for a in arguments]
            try:
                done = subprocess.run(command, cwd=source, capture_output=True, timeout=TIMEOUT)
            except subprocess.TimeoutExpired:
                check(False, "%s: still running after %d s" % (name, TIMEOUT))
                continue
            out = done.stdout.decode("latin-1")
            err = done.stderr.decode("latin-1")
            problems = []
            if done.returncode != status:
                problems.append("status %d, not %d" % (done.returncode, status))
            if status == 2 and (out or len(err.splitlines()) != 1):
                problems.append("a refusal is one line on stderr, nothing on stdout")
            text = err if status == 2 else out
            problems += ["does not say %r" % s for s in said if s not in text]
            problems += ["says %r" % s for s in unsaid if s in text]
            check(not problems, "%s%s" % (name, "" if not problems else ": " + "; ".join(
                problems) + "\n" + (out + err)[-1500:]))
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
