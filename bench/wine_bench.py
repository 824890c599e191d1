#!/usr/bin/env python3
"""Times the whole setup.exe under Wine against yardsticks, and reports its size and imports.

    wine_bench.py [--runs N] [--json FILE]

- setup.exe refusing an unsupported version (Vista) against empty_gui.exe, a WinMain that
  returns at once, built with the same flags and started the same way through boxrun.exe;
  setup.exe's time includes its one message box, which boxrun reads and closes.
- the NT path (XP) with 3,000 PCI device keys against the same with 10; the matching key is
  the last one enumerated, key.ini lists 40 IDs with the matching one last, and the stand-in
  installer lives 100 ms, so the time is the launcher's own work and its 500 ms first look.

Runs alternate between the two cases compared (for the NT path with a registry import before
each run), after one discarded warm-up run each. Every run is checked (boxes, exit status,
installer arguments); a wrong run stops the benchmark. Uses its own prefix (build/wine-bench/prefix) and display
(:89), so it never meets the end-to-end tests' Wine session.
"""

import argparse
import json
import os
import shutil
import statistics
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
os.environ["WINEPREFIX"] = str(ROOT / "build" / "wine-bench" / "prefix")
os.environ["E2E_DISPLAY"] = ":89"
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import check_pe  # noqa: E402
import winelab as lab  # noqa: E402

EMPTY_GUI_EXE = lab.WIN32_BUILD / "bench" / "empty_gui.exe"
BENCH_DIR = lab.WINE_DIR / "bench"

DEVICE = "VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01"
UNSUPPORTED_BOX = (b"Worry", b"Sorry!!We don't support this Operating System")
LIFETIME_MS = 100


class BenchFailed(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise BenchFailed(what)


def key_ini_40_ids():
    """39 IDs that name no key, then the one that names DEVICE."""
    lines = ["[PCI]"] + ["ID%d=VEN_F0%02d&DEV_F0%02d" % (i, i, i) for i in range(39)]
    lines.append("ID39=DEV_24C2")
    return ("\r\n".join(lines) + "\r\n").encode()


def filler_keys(count):
    """Device keys that sort before DEVICE and name none of the listed IDs."""
    return ["VEN_1000&DEV_%04X&SUBSYS_00000000&REV_00" % (i + 1) for i in range(count)]


def timed_run(program, env_extra=None):
    began = time.perf_counter()
    run = lab.run_launcher(program, timeout=60, env_extra=env_extra)
    wall_ms = (time.perf_counter() - began) * 1000.0
    return run, wall_ms, run.exit_tick - run.start_tick


class Samples:
    def __init__(self):
        self.wall = []
        self.ticks = []

    def add(self, wall_ms, tick_ms):
        self.wall.append(wall_ms)
        self.ticks.append(tick_ms)

    def summary(self):
        return {"runs": len(self.ticks),
                "ticks_median_ms": statistics.median(self.ticks), "ticks_min_ms": min(self.ticks),
                "wall_median_ms": statistics.median(self.wall), "wall_min_ms": min(self.wall),
                "ticks_ms": self.ticks, "wall_ms": [round(w, 1) for w in self.wall]}


def bench_unsupported(runs):
    folder = lab.make_package(BENCH_DIR / "unsupported" / "pkg", key_ini_40_ids())
    empty_dir = BENCH_DIR / "empty_gui"
    if empty_dir.exists():
        shutil.rmtree(empty_dir)
    empty_dir.mkdir(parents=True)
    shutil.copy(EMPTY_GUI_EXE, empty_dir / "empty_gui.exe")
    lab.Machine("vista", nt_keys=[DEVICE]).apply()

    setup, empty = Samples(), Samples()
    for i in range(runs + 1):
        run, wall, ticks = timed_run(folder / "setup.exe")
        expect(run.boxes == [UNSUPPORTED_BOX] and run.exit_code == 0,
               "setup.exe on Vista: boxes %r, exit %r" % (run.boxes, run.exit_code))
        expect(lab.read_installer_log(folder) is None, "setup.exe on Vista started the installer")
        if i > 0:
            setup.add(wall, ticks)
        run, wall, ticks = timed_run(empty_dir / "empty_gui.exe")
        expect(run.boxes == [] and run.exit_code == 0,
               "empty_gui.exe: boxes %r, exit %r" % (run.boxes, run.exit_code))
        if i > 0:
            empty.add(wall, ticks)
    return setup.summary(), empty.summary()


def set_nt_keys(key_count):
    """One regedit import: key_count device keys, DEVICE the last one enumerated."""
    lab.Machine("winxp", nt_keys=filler_keys(key_count - 1) + [DEVICE]).apply()
    names = [n for n in lab.nt_subkeys() if n != lab.WINE_OWN_NT_KEY]
    expect(len(names) == key_count, "%d device keys in the registry, not %d"
           % (len(names), key_count))
    expect(names[-1].upper() == DEVICE, "the matching key is not the last one enumerated: %r"
           % names[-3:])


def nt_run(folder, key_count):
    log = folder / "install.log"
    if log.exists():
        log.unlink()
    run, wall, ticks = timed_run(folder / "setup.exe",
                                 env_extra={"STANDIN_LIFETIME_MS": str(LIFETIME_MS)})
    what = "NT path with %d keys" % key_count
    expect(run.boxes == [] and run.exit_code == 0,
           "%s: boxes %r, exit %r" % (what, run.boxes, run.exit_code))
    installed = lab.read_installer_log(folder)
    expect(installed is not None and installed.args[-1:] == [("PCI\\" + DEVICE).encode()],
           "%s: installer not started for the device (%r)"
           % (what, installed and installed.args))
    expect(installed.window_gone_tick is not None
           and run.exit_tick >= installed.window_gone_tick,
           "%s: launcher did not wait for the installer" % what)
    return wall, ticks


def bench_nt(key_counts, runs):
    """Alternates the key counts run by run (one import each time), so that both meet the same
    load from whatever else the machine is doing."""
    folder = lab.make_package(BENCH_DIR / "nt" / "pkg", key_ini_40_ids())
    samples = {count: Samples() for count in key_counts}
    for i in range(runs + 1):
        for count in key_counts:
            set_nt_keys(count)
            wall, ticks = nt_run(folder, count)
            if i > 0:
                samples[count].add(wall, ticks)
    return {count: samples[count].summary() for count in key_counts}


def executable_facts(path):
    data = path.read_bytes()
    return {"bytes": len(data), "imports": check_pe.PE(data).imports()}


def ratio(value, baseline):
    return value / baseline if baseline else None


def rows_of(results):
    """The table rows: name, measure, value, baseline, ratio; times as median / min."""
    rows = []
    compared = [
        ("Wine: setup.exe refuses Vista (its 1 message box, closed by boxrun, included)"
         " vs empty_gui.exe", results["unsupported_setup"], results["empty_gui"]),
        ("Wine: NT path (XP), 3,000 device keys vs 10; match last, 40 IDs, installer"
         " lives %d ms" % LIFETIME_MS, results["nt_3000_keys"], results["nt_10_keys"])]
    for name, measured, baseline in compared:
        for kind, label in (("ticks", "start to exit, boxrun's GetTickCount"),
                            ("wall", "wall clock, starting wine and boxrun included")):
            median, least = "%s_median_ms" % kind, "%s_min_ms" % kind
            rows.append({
                "name": name,
                "measure": "median / min of %d runs: %s" % (measured["runs"], label),
                "value": "%.0f / %.0f ms" % (measured[median], measured[least]),
                "baseline": "%.0f / %.0f ms" % (baseline[median], baseline[least]),
                "ratio": [ratio(measured[median], baseline[median]),
                          ratio(measured[least], baseline[least])]})
    exe, yardstick = results["setup_exe"], results["empty_gui_exe"]
    rows.append({"name": "setup.exe size vs empty_gui.exe", "measure": "bytes",
                 "value": "%d" % exe["bytes"], "baseline": "%d" % yardstick["bytes"],
                 "ratio": ratio(exe["bytes"], yardstick["bytes"])})
    rows.append({"name": "setup.exe imported DLLs vs empty_gui.exe", "measure": "DLL names",
                 "value": ", ".join(exe["imports"]), "baseline": ", ".join(yardstick["imports"]),
                 "ratio": None})
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=10, help="measured runs per program")
    parser.add_argument("--json", help="write the results and table rows here")
    args = parser.parse_args()
    for path in (lab.SETUP_EXE, EMPTY_GUI_EXE, lab.BOXRUN_EXE, lab.STANDIN_EXE):
        if not path.exists():
            print("wine_bench: %s is missing; build the win32 preset" % path, file=sys.stderr)
            return 2

    results = {"setup_exe": executable_facts(lab.SETUP_EXE),
               "empty_gui_exe": executable_facts(EMPTY_GUI_EXE)}
    lab.session("start")
    try:
        results["unsupported_setup"], results["empty_gui"] = bench_unsupported(args.runs)
        nt = bench_nt([10, 3000], args.runs)
        results["nt_10_keys"], results["nt_3000_keys"] = nt[10], nt[3000]
    except BenchFailed as failure:
        print("wine_bench: FAILED: %s" % failure, file=sys.stderr)
        return 1
    finally:
        lab.session("stop")

    results["rows"] = rows_of(results)
    text = json.dumps(results, indent=1)
    if args.json:
        Path(args.json).write_text(text + "\n")
    else:
        print(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
