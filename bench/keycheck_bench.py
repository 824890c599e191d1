#!/usr/bin/env python3
"""keycheck's whole-process benchmarks: xref on large INFs, devices and predict on large exports,
catalog on a large catalog and 50 MB of PE images, devices on a 98 SE machine's disk image,
survey and match on a driver library of 10,000 INFs.

    keycheck_bench.py --build DIR --json FILE [--runs N]

Each command runs N times (3 unless told otherwise) on inputs this script writes into DIR's
results/keycheck folder; the figures are the medians of the child's CPU time (user + system)
and its peak resident memory, as the kernel accounts them. Every measurement stands
beside a yardstick run in the same round: keycheck_yardsticks reading the same INFs, cutting
the same export into lines, sha1sum over the same driver files, mcopy copying the registry
file out of the same disk image, or keycheck_yardsticks reading a library's bytes. Inputs double, so each doubling's time ratio shows the growth.
Writes the rows in the form bench_table.py prints; exits 1 when a command fails.
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tools" / "keycheck" / "tests" / "catalog"))
import catalog_fixture as fixture  # noqa: E402

INF_SIZES = [2000, 4000, 8000]          # models lines whose IDs key.ini does not list
EXPORT_SIZES = [50000, 100000, 200000]  # keys in the export
PE_FILES, PE_BYTES = 5, 10 * 10**6      # the signed driver's images: 50 MB
IMAGE_SIZES = [200 << 20, 2 << 30]       # sparse raw disks holding the same files
REGISTRY_KEYS = 40000                    # SYSTEM.DAT's keys beside Enum\PCI
LIBRARY_FOLDERS = [2500, 5000]           # two INFs a folder, about 20 KB each
MATCHED_DEVICES = 100
MODELS = 120                             # models lines of each library INF
CATALOG_MEMBERS, CATALOG_HWIDS = 1000, 8000


def models_inf(lines):
    """An INF every version reads, with lines models lines whose devices key.ini does not list."""
    text = ['[Version]', 'Signature="$Chicago$"', 'Class=SCSIAdapter', '[Manufacturer]',
            '%M% = HX, NTx86.5.1', '[HX]']
    models = ['%%D%% = Inst, PCI\\VEN_1A2C&DEV_%04X' % i for i in range(lines)]
    text += models + ['[HX.NTx86.5.1]'] + models + ['[Inst]', '[Strings]', 'M = "HX"',
                                                     'D = "HX device"']
    return ("\r\n".join(text) + "\r\n").encode("ascii")


LANGUAGES = ["0401", "0404", "0405", "0406", "0407", "0408", "040A", "040B", "040C", "040D",
             "040E", "0410", "0411", "0412", "0413", "0414", "0415", "0416", "0419", "041D",
             "041F", "0804", "0816", "0C0A", "0424", "041B", "0418", "0422", "0425", "0426"]


def large_unicode_inf(ids=1000):
    """An INF of the shape of a chipset or graphics vendor's (a thousand IDs in four decorated
    models sections, strings localized into 30 languages): UTF-16LE, about 2 MiB."""
    text = ['[Version]', 'Signature="$Windows NT$"', 'Class=SCSIAdapter', '[Manufacturer]',
            '%M% = HX, NTx86, NTx86.5.1, NTamd64, NTx86.6.0']
    decorations = ["NTx86", "NTx86.5.1", "NTamd64", "NTx86.6.0"]
    for d, decoration in enumerate(decorations):
        text.append("[HX.%s]" % decoration)
        for i in range(d * ids // 4, (d + 1) * ids // 4):
            text.append("%%D%04d%% = Inst, PCI\\VEN_1A2C&DEV_%04X&SUBSYS_%04X1A2C" % (i, i, i))
    text += ['[Inst.NTx86]', 'CopyFiles = Files', '[Inst.NTx86.Services]',
             'AddService = hx, 2, Service', '[Service]', 'ServiceBinary = %12%\\hx.sys',
             '[Files]', 'hx.sys', '[Strings]', 'M = "HX"']
    text += ['D%04d = "HX controller %d, %s"' % (i, i, "x" * 12) for i in range(ids)]
    for language in LANGUAGES:
        text.append("[Strings.%s]" % language)
        text += ['D%04d = "HX controller %d (%s)"' % (i, i, language) for i in range(ids)]
    return b"\xff\xfe" + ("\r\n".join(text) + "\r\n").encode("utf-16-le")


def package(folder, lines):
    """The sample package with its INFs replaced by ones of lines models lines."""
    if folder.exists():
        shutil.rmtree(folder)
    shutil.copytree(ROOT / "sample" / "package", folder)
    for name in ("hx5820.inf", "hx5820.ina"):
        (folder / "drv" / name).write_bytes(models_inf(lines))
    return folder


def export(path, keys):
    """A version 5.00 export in UTF-16LE as reg export writes it: keys // 5 sibling PCI device
    keys, each with an instance key holding its IDs, and the rest sibling keys under
    SOFTWARE\\Classes, as a whole-machine export has."""
    ids = ",".join("%02x,00" % ord(c) for c in "PCI\\VEN_1A2C&DEV_0001") + ",00,00,00,00"
    lines = ["Windows Registry Editor Version 5.00", ""]
    pci = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\PCI"
    devices = keys // 5
    for i in range(devices):
        device = r"%s\VEN_1A2C&DEV_%04X&SUBSYS_0000%04X&REV_01" % (pci, i % 0x10000, i // 0x10000)
        lines += ["[%s]" % device, "", "[%s\\4&1&0&%d]" % (device, i),
                  '"DeviceDesc"="Device %d"' % i, '"HardwareID"=hex(7):' + ids, ""]
    for i in range(keys - 2 * devices):
        lines += [r"[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.ext%d]" % i, '@="file%d"' % i, ""]
    path.write_bytes(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))
    return path


def signed_folder(folder, make_catalog):
    """A driver folder of a large signed package's shape: an INF copying PE_FILES images of
    PE_BYTES each (a MinGW image given a large initialized array, each copy with one byte of its
    own), and a vendor-signed catalog of CATALOG_MEMBERS members (the files' own among them) and
    CATALOG_HWIDS HWIDn attributes, as catalogs of chipset and graphics packages carry."""
    if (folder / "hx.cat").exists():
        return folder
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    source = folder / "big.c"
    source.write_text("static const char big[%d] = {1};\n"
                      "int main(int c, char** v) { return big[c] + (v != 0); }\n" % PE_BYTES)
    image = folder / "big.exe"
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O1", "-s", "-o", image, source], check=True)
    data = bytearray(image.read_bytes())
    names = ["hx%d.sys" % i for i in range(PE_FILES)]
    for i, name in enumerate(names):
        data[len(data) // 2] = i + 1
        (folder / name).write_bytes(data)
    image.unlink()
    source.unlink()
    (folder / "hx.inf").write_bytes((
        "[Version]\r\nSignature=\"$Windows NT$\"\r\nCatalogFile=hx.cat\r\n"
        "[SourceDisksNames]\r\n1=d,,,\r\n[SourceDisksFiles]\r\n"
        + "".join("%s=1\r\n" % n for n in names)
        + "[Manufacturer]\r\nM\r\n[M]\r\nD=Inst,PCI\\VEN_1A2B&DEV_5820\r\n"
        "[Inst.NT]\r\nCopyFiles=F\r\n[F]\r\n" + "".join("%s\r\n" % n for n in names)
    ).encode("ascii"))
    # The members that cover the files, hashed as osslsigncode hashes a PE image.
    members = [(fixture.file_hash(folder / "hx.inf"), "hx.inf", "2:5.00,2:5.1", False)]
    members += [(fixture.pe_hash(folder / n), n, "2:5.00,2:5.1", True) for n in names]
    members += [("%040X" % (i + 1), "filler%d.dll" % i, "2:5.00,2:5.1", True)
                for i in range(CATALOG_MEMBERS - len(members))]
    attributes = [("OS", "2000,XPX86")] + [("HWID%d" % (i + 1), "pci\\ven_1a2b&dev_%04x" % i)
                                           for i in range(CATALOG_HWIDS)]
    with tempfile.TemporaryDirectory() as keys:
        root = fixture.root(keys, "HX Bench Root")
        signer = fixture.leaf(keys, root, "HX Technology (bench signing)")
        fixture.build(make_catalog, folder / "hx.cat", members, attributes, signer, [root[0]])
    return folder


def registry_file(folder):
    """A Windows 98 SE SYSTEM.DAT of a well-used machine's size: the sample's PCI keys, its
    version, and REGISTRY_KEYS keys of installed programs, each with a few values."""
    path = folder / "SYSTEM.DAT"
    if path.exists():
        return path
    export = folder / "programs.reg"
    lines = ["REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]",
             '"VersionNumber"="4.10.2222"']
    for i in range(REGISTRY_KEYS):
        lines += ["", "[HKEY_LOCAL_MACHINE\\Software\\Vendor%03d\\Program%05d]" % (i % 400, i),
                  '"InstallDir"="C:\\\\Program Files\\\\Vendor%03d\\\\Program%05d"' % (i % 400, i),
                  '"Version"="%d.%d"' % (i % 7, i % 13), '"Flags"=dword:%08x' % i]
    export.write_text("\r\n".join(lines) + "\r\n", encoding="latin-1")
    subprocess.run([sys.executable, str(ROOT / "tools" / "keycheck" / "tests" / "creg" /
                                        "make_creg.py"), str(path),
                    str(ROOT / "sample" / "machine-98se.reg"), str(export)], check=True)
    return path


def machine_image(folder, size, system):
    """A sparse raw disk of size bytes, one FAT32 partition from 1 MiB holding WIN98 and its
    SYSTEM.DAT."""
    image = folder / ("disk-%d.img" % (size >> 20))
    if image.exists():
        return image
    with open(image, "wb") as out:
        out.truncate(size)
    subprocess.run(["sfdisk", "-q", str(image)], input=b"label: dos\nstart=2048, type=c\n",
                   check=True, capture_output=True)
    subprocess.run(["mkfs.fat", "-F", "32", "--offset", "2048", str(image),
                    str((size >> 10) - 1024)], check=True, capture_output=True)
    environment = dict(os.environ, MTOOLS_SKIP_CHECK="1")
    where = "%s@@1M" % image
    subprocess.run(["mmd", "-i", where, "::/WIN98"], check=True, env=environment)
    subprocess.run(["mcopy", "-i", where, str(system), "::/WIN98/SYSTEM.DAT"], check=True,
                   env=environment)
    return image


def library_inf(folder, number):
    """An INF of a graphics or chipset vendor's shape, about 20 KB: MODELS models lines in two
    sections, their strings, and one file it copies; each folder's devices are its own."""
    ids = ["PCI\\VEN_%04X&DEV_%04X" % (0x1000 + folder, number * MODELS + i)
           for i in range(MODELS)]
    text = ["[Version]", 'Signature="$Windows NT$"', "Class=SCSIAdapter", "Provider=%M%",
            "DriverVer=%02d/01/20%02d,1.%d.0.0" % (1 + folder % 12, folder % 10, number),
            "[SourceDisksNames]", '1 = "Disk",,,', "[SourceDisksFiles]", "drv%d.sys = 1" % number,
            "[Manufacturer]", "%M% = Models, NTx86.5.1", "[Models]"]
    text += ["%%D%d%% = Inst, %s" % (i, ids[i]) for i in range(MODELS)]
    text += ["[Models.NTx86.5.1]"] + ["%%D%d%% = Inst, %s" % (i, ids[i]) for i in range(MODELS)]
    text += ["[Inst.NT]", "CopyFiles = Files", "[Inst.NT.Services]",
             "AddService = drv%d, 2, Service" % number, "[Service]", "ServiceType = 1",
             "StartType = 0", "ErrorControl = 1", "ServiceBinary = %%12%%\\drv%d.sys" % number,
             "[Files]", "drv%d.sys" % number, "[Strings]", 'M = "Vendor %d"' % (folder % 64)]
    text += ['D%d = "Vendor %d controller %d of the %s family, model %d"'
             % (i, folder % 64, i, "x" * 40, i) for i in range(MODELS)]
    return ("\r\n".join(text) + "\r\n").encode("ascii")


def driver_library(root, folders):
    """folders folders of two INFs each and the files they copy, in 64 vendors' folders."""
    if (root / "done").exists():
        return root
    shutil.rmtree(root, ignore_errors=True)
    for folder in range(folders):
        where = root / ("vendor%02d" % (folder % 64)) / ("driver%05d" % folder)
        where.mkdir(parents=True)
        for number in (0, 1):
            (where / ("drv%d.inf" % number)).write_bytes(library_inf(folder, number))
            (where / ("drv%d.sys" % number)).write_bytes(b"MZ" + bytes(1022))
    (root / "done").write_text("")
    return root


def library_machine(path, devices):
    """A version 5.00 export of devices PCI device keys whose IDs the library's INFs name."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    pci = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\PCI"
    for i in range(devices):
        name = "VEN_%04X&DEV_%04X&SUBSYS_00000000&REV_01" % (0x1000 + i * 7, i % MODELS)
        hardware = "PCI\\" + name.rsplit("&REV", 1)[0].rsplit("&SUBSYS", 1)[0]
        data = ",".join("%02x,00" % ord(c) for c in hardware.replace("\\\\", "\\")) + ",00,00,00,00"
        lines += ["[%s\\%s]" % (pci, name), "", "[%s\\%s\\4&1&0&%02X]" % (pci, name, i % 256),
                  '"HardwareID"=hex(7):' + data, ""]
    path.write_bytes(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))
    return path


def measure_wall(command, runs):
    """Median wall-clock seconds and peak resident bytes of runs of command: for work spread
    over threads, whose CPU time adds up across them."""
    times, peaks = [], []
    for _ in range(runs):
        with open(os.devnull, "wb") as sink, tempfile.NamedTemporaryFile("r") as memory:
            start = time.perf_counter()
            child = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", memory.name, "--quiet"]
                                     + command, stdout=sink, stderr=subprocess.DEVNULL)
            _, status, _ = os.wait4(child.pid, 0)
            times.append(time.perf_counter() - start)
            said = memory.read().split()
        if os.waitstatus_to_exitcode(status) not in (0, 1) or not said:
            raise SystemExit("keycheck_bench: %s failed" % " ".join(command))
        peaks.append(int(said[-1]) * 1024)
    return statistics.median(times), statistics.median(peaks)


def measure(command, runs):
    """Median CPU seconds and peak resident bytes of runs of command. GNU time starts it and
    reports its peak memory: a process started from this one would be charged this process's
    own peak, which the kernel carries over a fork. The CPU time is the kernel's account of
    GNU time and the command it waited for, to the microsecond (GNU time prints hundredths)."""
    times, peaks = [], []
    for _ in range(runs):
        with open(os.devnull, "wb") as sink, tempfile.NamedTemporaryFile("r") as memory:
            child = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", memory.name, "--quiet"]
                                     + command, stdout=sink, stderr=subprocess.DEVNULL)
            _, status, usage = os.wait4(child.pid, 0)
            child.returncode = os.waitstatus_to_exitcode(status)
            said = memory.read().split()
        if child.returncode not in (0, 1) or not said:
            raise SystemExit("keycheck_bench: %s exited %d" % (" ".join(command),
                                                               child.returncode))
        times.append(usage.ru_utime + usage.ru_stime)
        peaks.append(int(said[-1]) * 1024)
    return statistics.median(times), statistics.median(peaks)


def show_seconds(seconds):
    return "%.0f ms" % (seconds * 1e3) if seconds < 1 else "%.2f s" % seconds


def row(name, measure, value, baseline, ratio, goal):
    return {"name": name, "measure": measure, "value": value, "baseline": baseline,
            "ratio": ratio, "goal": goal}


def met(ok):
    return "met" if ok else "NOT met"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="the bench build folder")
    parser.add_argument("--json", required=True, help="where to write the rows")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    build = Path(args.build)
    keycheck = str(build / "tools" / "keycheck" / "keycheck")
    yardsticks = str(build / "bench" / "keycheck_yardsticks")
    work = build / "results" / "keycheck"
    work.mkdir(parents=True, exist_ok=True)
    runs = "median of %d runs: CPU time (user + system) of the whole process" % args.runs
    rows = []

    xref = {}
    for lines in INF_SIZES:
        folder = str(package(work / ("package-%d" % lines), lines))
        print("xref on %d models lines ..." % lines, file=sys.stderr)
        xref[lines] = measure([keycheck, "xref", folder], args.runs)
        reading = measure([yardsticks, "read-infs", folder], args.runs)[0]
        ratio = xref[lines][0] / reading
        goal = "–"
        if lines == 4000:
            goal = "≤ 3.00× and ≤ 1 s (%s)" % met(ratio <= 3 and xref[lines][0] <= 1)
        rows.append(row("keycheck xref, %d unlisted models lines (in each of 2 sections)" % lines,
                        runs, show_seconds(xref[lines][0]),
                        "%s (read-infs: the same INFs read alone)" % show_seconds(reading),
                        ratio, goal))
    # A large Unicode INF of a real shape, read by the release build as users run it.
    big = package(work / "package-unicode", 0)
    inf = large_unicode_inf()
    for name in ("hx5820.inf", "hx5820.ina"):
        (big / "drv" / name).write_bytes(inf)
    read_bytes = 2 * len(inf)
    print("xref on a %.1f MiB UTF-16 INF ..." % (len(inf) / 2**20), file=sys.stderr)
    seconds, peak = measure([keycheck, "xref", str(big)], args.runs)
    reading = measure([yardsticks, "read-infs", str(big)], args.runs)[0]
    ratio = seconds / reading
    rows.append(row("keycheck xref, a %.1f MiB UTF-16 INF (1,000 IDs in 4 decorated sections, "
                    "30 languages), read as .inf and .ina" % (len(inf) / 2**20),
                    runs + "; peak memory",
                    "%s; %.1f MiB (%.1f× the INF bytes read)" % (show_seconds(seconds),
                                                                 peak / 2**20, peak / read_bytes),
                    "%s (read-infs: the same INFs read alone)" % show_seconds(reading), ratio,
                    "≤ 3.00×, peak ≤ 10× the INF bytes (%s)"
                    % met(ratio <= 3 and peak <= 10 * read_bytes)))
    for small, large in zip(INF_SIZES, INF_SIZES[1:]):
        ratio = xref[large][0] / xref[small][0]
        rows.append(row("keycheck xref, %d -> %d models lines" % (small, large), runs,
                        show_seconds(xref[large][0]), show_seconds(xref[small][0]), ratio,
                        "≤ 2.20× (%s)" % met(ratio <= 2.2)))

    for verb in ("devices", "predict"):
        timed = {}
        for keys in EXPORT_SIZES:
            path = work / ("machine-%d.reg" % keys)
            if not path.exists():
                export(path, keys)
            command = [keycheck, "devices", str(path)] if verb == "devices" else \
                [keycheck, "predict", str(ROOT / "sample" / "package"), "--os", "xp",
                 "--registry", str(path)]
            print("%s on %d keys ..." % (verb, keys), file=sys.stderr)
            timed[keys] = measure(command, args.runs)
            cutting = measure([yardsticks, "read-lines", str(path)], args.runs)[0]
            size = path.stat().st_size
            seconds, peak = timed[keys]
            goal = "–"
            if keys == 100000:
                goal = "≤ 2 s, peak ≤ 4× the file (%s)" % met(seconds <= 2 and peak <= 4 * size)
            rows.append(row("keycheck %s, export of %d keys (%d PCI device keys), %.1f MiB" %
                            (verb, keys, keys // 5, size / 2**20), runs + "; peak memory",
                            "%s; %.1f MiB (%.2f× the file)" % (show_seconds(seconds),
                                                               peak / 2**20, peak / size),
                            "%s (read-lines: the same file cut into lines)" %
                            show_seconds(cutting), seconds / cutting, goal))
        for small, large in zip(EXPORT_SIZES, EXPORT_SIZES[1:]):
            ratio = timed[large][0] / timed[small][0]
            rows.append(row("keycheck %s, %d -> %d keys" % (verb, small, large), runs,
                            show_seconds(timed[large][0]), show_seconds(timed[small][0]), ratio,
                            "≤ 2.20× (%s)" % met(ratio <= 2.2)))

    make_catalog = str(build / "tools" / "keycheck" / "make_catalog")
    folder = signed_folder(work / "signed", make_catalog)
    print("catalog on %d MB of PE images ..." % (PE_FILES * PE_BYTES // 10**6), file=sys.stderr)
    seconds, peak = measure([keycheck, "catalog", str(folder)], args.runs)
    hashing = measure(["sha1sum"] + sorted(str(p) for p in folder.iterdir()
                                            if p.suffix in (".sys", ".inf")), args.runs)[0]
    largest = max(p.stat().st_size for p in folder.iterdir())
    ratio = seconds / hashing
    rows.append(row("keycheck catalog, %d PE images of %d MB and an INF, a catalog of %d members "
                    "and %d HWIDn attributes" % (PE_FILES, PE_BYTES // 10**6, CATALOG_MEMBERS,
                                                 CATALOG_HWIDS), runs + "; peak memory",
                    "%s; %.1f MiB (%.2f× the largest file)" % (show_seconds(seconds),
                                                               peak / 2**20, peak / largest),
                    "%s (sha1sum over the same files)" % show_seconds(hashing), ratio,
                    "≤ 1.50×, peak ≤ 2× the largest file (%s)"
                    % met(ratio <= 1.5 and peak <= 2 * largest)))

    disks = work / "disks"
    disks.mkdir(exist_ok=True)
    system = registry_file(disks)
    base = measure([keycheck, "--version"], args.runs)
    devices = {}
    for size in IMAGE_SIZES:
        image = machine_image(disks, size, system)
        print("devices on a %d MiB disk image ..." % (size >> 20), file=sys.stderr)
        devices[size] = measure([keycheck, "devices", str(image)], args.runs)
        copying = measure(["env", "MTOOLS_SKIP_CHECK=1", "mcopy", "-o", "-n", "-i",
                           "%s@@1M" % image, "::/WIN98/SYSTEM.DAT",
                           str(disks / "copied.dat")], args.runs)[0]
        seconds, peak = devices[size]
        registry = system.stat().st_size
        used = peak - base[1]
        ratio = seconds / copying
        rows.append(row("keycheck devices, a sparse %d MiB raw disk image (FAT32) holding a "
                        "%.1f MiB SYSTEM.DAT" % (size >> 20, registry / 2**20),
                        runs + "; peak memory, and its growth over keycheck --version's",
                        "%s; %.1f MiB, %.1f MiB over %.1f MiB (%.2f× the file)"
                        % (show_seconds(seconds), peak / 2**20, used / 2**20, base[1] / 2**20,
                           used / registry),
                        "%s (mcopy copying SYSTEM.DAT out of the same image)"
                        % show_seconds(copying), ratio,
                        "≤ 2.00× (%s); growth ≤ 2× the file (%s)"
                        % (met(ratio <= 2), met(used <= 2 * registry))))
    small, large = IMAGE_SIZES
    ratio = devices[large][0] / devices[small][0]
    rows.append(row("keycheck devices, the same files on a %d MiB and a %d MiB disk image"
                    % (small >> 20, large >> 20), runs, show_seconds(devices[large][0]),
                    show_seconds(devices[small][0]), ratio, "≤ 1.20× (%s)" % met(ratio <= 1.2)))

    # survey and match on a driver library, their wall-clock time on this machine's cores.
    wall = "median of %d runs: wall-clock time" % args.runs
    surveyed = {}
    for folders in LIBRARY_FOLDERS:
        library = driver_library(work / ("library-%d" % folders), folders)
        print("survey on %d folders ..." % folders, file=sys.stderr)
        surveyed[folders] = measure_wall([keycheck, "survey", str(library), "--jobs", "2"],
                                         args.runs)
    library = work / ("library-%d" % LIBRARY_FOLDERS[-1])
    size = sum(p.stat().st_size for p in library.rglob("*") if p.is_file())
    reading = measure_wall([yardsticks, "read-tree", str(library), "2"], args.runs)[0]
    alone = measure_wall([keycheck, "survey", str(library), "--jobs", "1"], args.runs)[0]
    seconds, peak = surveyed[LIBRARY_FOLDERS[-1]]
    name = "keycheck survey, %d folders, %d INFs, %.0f MB" % (LIBRARY_FOLDERS[-1],
                                                             2 * LIBRARY_FOLDERS[-1], size / 1e6)
    rows.append(row(name + ", --jobs 2", wall + "; peak memory",
                    "%s; %.1f MiB" % (show_seconds(seconds), peak / 2**20),
                    "%s (read-tree: the same bytes read, 2 threads)" % show_seconds(reading),
                    seconds / reading, "≤ 2.00× (%s); peak < 100 MB (%s)"
                    % (met(seconds <= 2 * reading), met(peak < 100e6))))
    rows.append(row(name + ", --jobs 1 against --jobs 2", wall, show_seconds(alone),
                    show_seconds(seconds), alone / seconds,
                    "≥ 1.60× (%s)" % met(alone / seconds >= 1.6)))
    small, large = LIBRARY_FOLDERS
    ratio = surveyed[large][0] / surveyed[small][0]
    rows.append(row("keycheck survey, %d -> %d folders" % (small, large), wall,
                    show_seconds(surveyed[large][0]), show_seconds(surveyed[small][0]), ratio,
                    "≤ 2.20× (%s)" % met(ratio <= 2.2)))
    machine = library_machine(work / "library-machine.reg", MATCHED_DEVICES)
    matched = measure_wall([keycheck, "match", str(machine), str(library), "--jobs", "2"],
                           args.runs)[0]
    rows.append(row("keycheck match, %d devices against the same library" % MATCHED_DEVICES,
                    wall, show_seconds(matched), "%s (survey of the same library)"
                    % show_seconds(seconds), matched / seconds,
                    "≤ 1 s beyond the survey (%s)" % met(matched - seconds <= 1)))

    Path(args.json).write_text(json.dumps({"rows": rows}, indent=1, ensure_ascii=False))
    for r in rows:
        print("%s: %s vs %s, %.2f×, %s" % (r["name"], r["value"], r["baseline"], r["ratio"],
                                            r["goal"]), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
