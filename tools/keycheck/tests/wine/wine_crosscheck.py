#!/usr/bin/env python3
"""keycheck.exe under Wine against the host keycheck: each verb on the sample gives the same.

Runs each verb's example on the sample (as keycheck --verbs lists it), with --json too where
the verb takes it, and every row of MORE_RUNS, with both programs from the source folder, with
the same relative paths, and compares exit status and standard output: JSON as JSON, text with CR LF taken as
LF on both sides (the Windows runtime writes text-mode line ends; gen writes CR LF itself).
It runs in this machine's Wine lane (tests/e2e/wine_lane.py): the 32-bit keycheck.exe under
Wine's 32-bit loader, or a 64-bit one under wine64 where the kernel runs no 32-bit code. Skips
(exit 77) without a lane or without the lane's keycheck.exe. One Wine prefix of its own, one
persistent wineserver for all rows.
"""
import argparse
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[4] / "tests" / "e2e"))
import wine_lane  # noqa: E402

SKIP = 77

# Runs beyond each verb's example (keycheck --verbs gives those): (name, arguments after the
# program, output is JSON, what the host keycheck is given besides).
MORE_RUNS = [
    ("predict-98se-json", ["predict", "sample/package", "--os", "98se", "--registry",
                           "sample/machine-98se.reg", "--json"], True, ["--no-catalogs"]),
    ("predict-me-refuses-json", ["predict", "sample/package", "--os", "me", "--registry",
                                 "sample/machine-xp.reg", "--json"], True, ["--no-catalogs"]),
    ("devices-xp", ["devices", "sample/machine-xp.reg", "--package", "sample/package"], False, []),
    ("usage-error", ["predict", "sample/package", "--os", "xq", "--registry",
                     "sample/machine-xp.reg"], False, []),
]


def verb_runs(host, source):
    """The runs of every verb the host keycheck lists: its example, and again with --json where
    it takes it, for the verbs keycheck.exe does; and the verbs it refuses. keycheck.exe reads
    no catalogs, so the host is given --no-catalogs where a verb takes it."""
    listed = subprocess.run([host, "--verbs"], cwd=source, capture_output=True, check=True,
                            text=True).stdout.splitlines()
    runs, refused = [], []
    for line in listed:
        name, output, where, catalogs, example = line.split("\t")
        args = name.split() + example.split()
        host_extra = ["--no-catalogs"] if catalogs == "no-catalogs" else []
        if where != "windows":
            refused.append((name, args))
            continue
        runs.append((name, args, False, host_extra))
        if output == "json":
            runs.append((name + "-json", args + ["--json"], True, host_extra))
    return runs, refused


def run_captured(command, env, cwd):
    """(exit status, stdout bytes, stderr bytes). Files, not pipes: Wine's service processes
    inherit the descriptors and would keep a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=err, timeout=300).returncode
        out.seek(0)
        err.seek(0)
        return status, out.read(), err.read()


def json_difference(host, windows, where="$"):
    """The path of the first place two JSON values differ, with both values, or None."""
    if isinstance(host, dict) and isinstance(windows, dict) and host.keys() == windows.keys():
        found = (json_difference(host[k], windows[k], f"{where}.{k}") for k in host)
    elif isinstance(host, list) and isinstance(windows, list) and len(host) == len(windows):
        found = (json_difference(a, b, f"{where}[{i}]") for i, (a, b) in enumerate(zip(host,
                                                                                       windows)))
    else:
        return None if host == windows else f"{where}: host {host!r:.200}, Wine {windows!r:.200}"
    return next((difference for difference in found if difference), None)


def same_output(host, windows, is_json):
    """Why the two outputs differ, or None."""
    host, windows = host.replace(b"\r\n", b"\n"), windows.replace(b"\r\n", b"\n")
    if is_json:
        # One document, or JSON Lines (survey's): each line a document of its own.
        try:
            documents = [[json.loads(line) for line in text.splitlines() if line.strip()]
                         for text in (host, windows)]
        except ValueError as error:
            return f"not JSON: {error}"
        if len(documents[0]) != len(documents[1]):
            return f"{len(documents[0])} documents on the host, {len(documents[1])} under Wine"
        for a, b in zip(*documents):
            difference = json_difference(a, b)
            if difference is not None:
                return difference
        return None
    elif host == windows:
        return None
    host_lines, windows_lines = host.splitlines(), windows.splitlines()
    for number, (a, b) in enumerate(zip(host_lines, windows_lines), 1):
        if a != b:
            return f"line {number}: host {a!r}, Wine {b!r}"
    return f"{len(host_lines)} lines on the host, {len(windows_lines)} under Wine"


def is_flat_hash_of_pe(path, said):
    data = path.read_bytes()
    return data[:2] == b"MZ" and hashlib.sha1(data).hexdigest().upper() == said


def catalog_crosscheck(host, source, loader, env, helper, folder):
    """Windows' own view of the sample's catalog and of its files' hashes (wintrust under Wine)
    against keycheck's: the members' tags CryptCATEnumerateMember lists, and the hash
    CryptCATAdminCalcHashFromFileHandle takes of each file keycheck hashes, among them a PE
    image (the lane's setup.exe copied by an INF of its own). Returns the failures."""
    package = folder / "catalog-pe"
    shutil.rmtree(package, ignore_errors=True)
    package.mkdir(parents=True)
    shutil.copy(source / "sample" / "package" / "drv" / "hx5820.cat", package / "hx.cat")
    shutil.copy(helper.parent.parent.parent.parent / "setup.exe", package / "hx.sys")
    (package / "hx.inf").write_bytes(
        b"[Version]\r\nSignature=\"$Windows NT$\"\r\nCatalogFile=hx.cat\r\n"
        b"[SourceDisksNames]\r\n1=d,,,\r\n[SourceDisksFiles]\r\nhx.sys=1\r\n"
        b"[Manufacturer]\r\nM\r\n[M]\r\nD=Inst,PCI\\VEN_1A2B&DEV_5820\r\n"
        b"[Inst.NT]\r\nCopyFiles=F\r\n[F]\r\nhx.sys\r\n")
    failures = 0
    hashed = {}
    for folder_named in (source / "sample" / "package", package):
        said = json.loads(run_captured([host, "catalog", str(folder_named), "--json"], env,
                                       source)[1])
        for inf in said["infs"]:
            for file in inf["files"]:
                if file["sha1"]:
                    hashed[str(folder_named / file["path"].replace("\\", "/"))] = file["sha1"]
    windows = run_captured(loader + [str(helper), "hash"] + sorted(hashed), env, source)[1]
    for line in windows.decode("latin-1").splitlines():
        parts = line.strip().split("\t")
        ours = hashed.get(parts[1]) if len(parts) > 1 else None
        theirs = parts[2] if len(parts) > 2 else "?"
        same = parts[0] == "HASH" and ours == theirs
        name = Path(parts[1]).name
        if not same and is_flat_hash_of_pe(Path(parts[1]), theirs):
            # Wine 8's wintrust hashes every file whole; later Wine and Windows take a PE
            # image's Authenticode hash. keycheck.catalogs holds that hash to osslsigncode's.
            print(f"skip catalog hash of {name}: this Wine hashes PE images whole ({theirs})")
            continue
        print(f"{'ok  ' if same else 'FAIL'} catalog hash of {name}: Windows {theirs}, "
              f"keycheck {ours}")
        failures += not same
    catalog = source / "sample" / "package" / "drv" / "hx5820.cat"
    ours = sorted(m["tag"] for m in json.loads(
        run_captured([host, "catalog", str(catalog), "--json"], env, source)[1])["members"])
    windows = run_captured(loader + [str(helper), "members", str(catalog)], env, source)[1]
    theirs = sorted(line.split("\t")[1].strip() for line in
                    windows.decode("latin-1").splitlines() if line.startswith("MEMBER"))
    same = theirs == ours and bool(ours)
    print(f"{'ok  ' if same else 'FAIL'} the sample catalog's members: Windows {theirs}, "
          f"keycheck {ours}")
    return failures + (not same)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True, help="the host keycheck")
    parser.add_argument("--source", required=True, help="the source folder, holding sample/")
    args = parser.parse_args()
    lane = wine_lane.detect()
    exe = lane.build / "keycheck.exe"
    unusable = wine_lane.wrong_machine(lane, [exe]) if lane.bits else lane.describe()
    if unusable:
        print(f"skipped: {unusable}")
        return SKIP
    print(lane.describe())
    prefix = lane.state.parent / (lane.state.name + "-keycheck") / "prefix"

    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", **lane.env())
    env.pop("DISPLAY", None)  # a console program needs no display
    loader = list(lane.loader)
    if not (prefix / "system.reg").is_file():
        prefix.parent.mkdir(parents=True, exist_ok=True)
        # A new win64 prefix tries once to start syswow64's rundll32, fails, and works.
        run_captured(loader + ["wineboot", "-i"], env, args.source)
        run_captured(["wineserver", "-w"], env, args.source)
        if not (prefix / "system.reg").is_file():
            print(f"wineboot -i could not make the prefix {prefix}")
            return 1
    # One server for every row, ending a few seconds after the last; a server of the prefix
    # that is still up from wineboot serves as well.
    run_captured(["wineserver", "-p5"], env, args.source)
    failures = 0
    helper = lane.build / "tests" / "e2e" / "helpers" / "cathash.exe"
    if wine_lane.wrong_machine(lane, [helper]) is None:
        failures += catalog_crosscheck(args.host, Path(args.source).resolve(), loader, env,
                                       helper, prefix.parent)
    else:
        print("skipped the catalog rows: " + wine_lane.wrong_machine(lane, [helper]))
    runs, refused = verb_runs(args.host, args.source)
    # The verbs keycheck.exe does not do (it has no disk tools) are refused with one line.
    for name, verb_args in refused:
        status, out, err = run_captured(loader + [str(exe)] + verb_args, env, args.source)
        lines = err.decode("utf-8", "replace").strip().splitlines()
        problem = None if status == 2 and not out and len(lines) == 1 else \
            f"status {status}, {len(out)} bytes out, stderr {err[-300:]!r}"
        print(f"{'ok  ' if problem is None else 'FAIL'} {name} (refused)" +
              ("" if problem is None else f": {problem}"))
        failures += problem is not None
    for name, verb_args, is_json, host_extra in runs + MORE_RUNS:
        host = run_captured([args.host] + verb_args + host_extra, env, args.source)
        windows = run_captured(loader + [str(exe)] + verb_args, env, args.source)
        problem = None
        if host[0] != windows[0]:
            problem = f"exit status {host[0]} on the host, {windows[0]} under Wine " \
                      f"(Wine's stderr: {windows[2][-300:]!r})"
        else:
            problem = same_output(host[1], windows[1], is_json)
        print(f"{'ok  ' if problem is None else 'FAIL'} {name}" +
              ("" if problem is None else f": {problem}"))
        failures += problem is not None
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
