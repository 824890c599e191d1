#!/usr/bin/env python3
"""keycheck.exe under Wine against the host keycheck: each verb on the sample gives the same.

Runs every row of RUNS with both programs from the source folder, with the same relative
paths, and compares exit status and standard output: JSON as JSON, text with CR LF taken as
LF on both sides (the Windows runtime writes text-mode line ends; gen writes CR LF itself). Skips (exit 77) without keycheck.exe.
One Wine prefix of its own, one persistent wineserver for all rows.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
from pathlib import Path

SKIP = 77

# (name, arguments after the program, output is JSON). Add a row for every new verb.
RUNS = [
    ("lint", ["lint", "sample/package"], False),
    ("lint-json", ["lint", "sample/package", "--json"], True),
    ("predict-xp", ["predict", "sample/package", "--os", "xp", "--registry",
                    "sample/machine-xp.reg"], False),
    ("predict-98se-json", ["predict", "sample/package", "--os", "98se", "--registry",
                           "sample/machine-98se.reg", "--json"], True),
    ("predict-me-refuses-json", ["predict", "sample/package", "--os", "me", "--registry",
                                 "sample/machine-xp.reg", "--json"], True),
    ("devices-xp", ["devices", "sample/machine-xp.reg", "--package", "sample/package"], False),
    ("devices-98se-json", ["devices", "sample/machine-98se.reg", "--package", "sample/package",
                           "--json"], True),
    ("xref", ["xref", "sample/package"], False),
    ("xref-json", ["xref", "sample/package", "--json"], True),
    ("gen", ["gen", "sample/package"], False),
    ("usage-error", ["predict", "sample/package", "--os", "xq", "--registry",
                     "sample/machine-xp.reg"], False),
]


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
        try:
            return json_difference(json.loads(host), json.loads(windows))
        except ValueError as error:
            return f"not JSON: {error}"
    elif host == windows:
        return None
    host_lines, windows_lines = host.splitlines(), windows.splitlines()
    for number, (a, b) in enumerate(zip(host_lines, windows_lines), 1):
        if a != b:
            return f"line {number}: host {a!r}, Wine {b!r}"
    return f"{len(host_lines)} lines on the host, {len(windows_lines)} under Wine"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True, help="the host keycheck")
    parser.add_argument("--exe", required=True, help="keycheck.exe")
    parser.add_argument("--prefix", required=True, help="the Wine prefix to use (made if absent)")
    parser.add_argument("--source", required=True, help="the source folder, holding sample/")
    args = parser.parse_args()
    if not Path(args.exe).is_file():
        print(f"skipped: {args.exe} is not built (cmake --preset win32)")
        return SKIP

    env = dict(os.environ, WINEPREFIX=str(Path(args.prefix).resolve()), WINEARCH="win32",
               WINEDEBUG="-all")
    env.pop("DISPLAY", None)  # a console program needs no display
    # A kernel without 32-bit emulation cannot start Wine's 32-bit loader.
    if run_captured(["wine", "--version"], env, args.source)[0] != 0:
        print("skipped: wine --version fails: this machine cannot run Wine")
        return SKIP
    if not Path(args.prefix).is_dir():
        Path(args.prefix).parent.mkdir(parents=True, exist_ok=True)
        status = run_captured(["wineboot", "-i"], env, args.source)[0]
        if status != 0:
            print(f"wineboot -i could not make the prefix {args.prefix} (status {status})")
            return 1
    # One server for every row, ending a few seconds after the last; a server of the prefix
    # that is still up from wineboot serves as well.
    run_captured(["wineserver", "-p5"], env, args.source)
    failures = 0
    for name, verb_args, is_json in RUNS:
        host = run_captured([args.host] + verb_args, env, args.source)
        windows = run_captured(["wine", str(Path(args.exe).resolve())] + verb_args, env,
                               args.source)
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
