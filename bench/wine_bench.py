#!/usr/bin/env python3
"""Times the whole setup.exe under Wine against yardsticks, and reports its size and imports.

    wine_bench.py [--runs N] [--build DIR] [--json FILE]

- setup.exe refusing an unsupported version (Vista) against box_only.exe, which shows the
  same message box and ends; all are started through boxrun.exe, which reads and closes it.
  Beside them comctl_box_only.exe loads the common controls first, as setup.exe must: what
  that costs is not the launcher's own work.
- setup.exe on XP with 3,000 PCI device keys of which none names a listed ID (key.ini lists
  40): it reads them all and shows its no-device box; against walk_only.exe, which opens the
  branch the same way, enumerates the same keys without looking at them and shows the same
  box, and comctl_walk_only.exe, which loads the common controls first.

The yardsticks are built with setup.exe's flags (bench/CMakeLists.txt), so the difference is
the launcher's own work: start-up, the version check, key.ini and the matching. Runs
alternate between setup.exe and its yardstick after one discarded warm-up run each. Every run
is checked (boxes, exit status, no installer started); a wrong run stops the benchmark. A goal
is judged by the median of the rounds' own ratios, each round being setup.exe and its
yardsticks run back to back, which load that comes and goes moves least. Uses
its own prefix (build/wine-bench/prefix) and a free display, so it never meets the end-to-end
tests' Wine session.
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
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import check_pe  # noqa: E402
import winelab as lab  # noqa: E402

BENCH_DIR = lab.WINE_DIR / "bench"

DEVICE = "VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01"
# (caption, text, type): MB_OK, no icon.
UNSUPPORTED_BOX = lab.expected_box("unsupported")
NO_DEVICE_BOX = lab.expected_box("no_device_nt")
WALK_KEYS = 3000
GOALS = {"refusal": 1.05, "walk": 1.10}
SIZE_LIMIT = 24576  # setup.exe's size before the lead-byte table; it must not grow


class BenchFailed(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise BenchFailed(what)


def use_build(folder):
    """Points the Wine helpers at the win32 build in folder."""
    lab.WIN_BUILD = folder
    lab.SETUP_EXE = folder / "setup.exe"
    lab.BOXRUN_EXE = folder / "tests" / "e2e" / "helpers" / "boxrun.exe"
    lab.STANDIN_EXE = folder / "tests" / "e2e" / "helpers" / "standin_install.exe"


def yardstick_exe(name):
    return lab.WIN_BUILD / "bench" / (name + ".exe")


def key_ini_40_ids():
    """40 IDs, none of which names a filler key; the last one names DEVICE."""
    lines = ["[PCI]"] + ["ID%d=VEN_F0%02d&DEV_F0%02d" % (i, i, i) for i in range(39)]
    lines.append("ID39=DEV_24C2")
    return ("\r\n".join(lines) + "\r\n").encode()


def filler_keys(count):
    """Device keys that name none of the listed IDs."""
    return ["VEN_1000&DEV_%04X&SUBSYS_00000000&REV_00" % (i + 1) for i in range(count)]


def timed_run(program):
    began = time.perf_counter()
    run = lab.run_launcher(program, timeout=60)
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


def copy_alone(program, folder):
    """program alone in a fresh folder (no key.ini, no package beside it)."""
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    shutil.copy(program, folder / program.name)
    return folder / program.name


def alternate(runs, setup_exe, yardsticks, box, what):
    """Runs setup.exe and its yardsticks in turn; each must show exactly box and exit with 0."""
    programs = [setup_exe] + yardsticks
    samples = [Samples() for _ in programs]
    for i in range(runs + 1):
        for program, taken in zip(programs, samples):
            run, wall, ticks = timed_run(program)
            expect(run.boxes == [box] and run.exit_code == 0,
                   "%s, %s: boxes %r, exit %r" % (what, program.name, run.boxes, run.exit_code))
            expect(lab.read_installer_log(setup_exe.parent) is None,
                   "%s: the installer was started" % what)
            if i > 0:
                taken.add(wall, ticks)
    return [taken.summary() for taken in samples]


def bench_refusal(runs):
    folder = lab.make_package(BENCH_DIR / "refusal" / "pkg", key_ini_40_ids())
    yardsticks = [copy_alone(yardstick_exe(name), BENCH_DIR / "refusal" / name)
                  for name in ("box_only", "comctl_box_only")]
    lab.Machine("vista", nt_keys=[DEVICE]).apply()
    return alternate(runs, folder / "setup.exe", yardsticks, UNSUPPORTED_BOX, "Vista refusal")


def bench_walk(runs):
    """One registry import: WALK_KEYS device keys beside Wine's own, none of them listed."""
    folder = lab.make_package(BENCH_DIR / "walk" / "pkg", key_ini_40_ids())
    yardsticks = [copy_alone(yardstick_exe(name), BENCH_DIR / "walk" / name)
                  for name in ("walk_only", "comctl_walk_only")]
    lab.Machine("winxp", nt_keys=filler_keys(WALK_KEYS)).apply()
    names = [n for n in lab.nt_subkeys() if n != lab.WINE_OWN_NT_KEY]
    expect(len(names) == WALK_KEYS, "%d device keys in the registry, not %d"
           % (len(names), WALK_KEYS))
    return alternate(runs, folder / "setup.exe", yardsticks, NO_DEVICE_BOX, "XP walk")


def executable_facts(path):
    data = path.read_bytes()
    return {"bytes": len(data), "imports": check_pe.PE(data).imports()}


def ratio(value, baseline):
    return value / baseline if baseline else None


def rows_of(results):
    """The table rows: name, measure, value, baseline, ratio, goal; times as median / min."""
    rows = []
    compared = [
        ("Wine: setup.exe refuses Vista vs box_only.exe (the same message box; boxrun closes"
         " it)", results["refusal_setup"], results["refusal_yardstick"], GOALS["refusal"]),
        ("Wine: setup.exe refuses Vista vs comctl_box_only.exe (the same box after"
         " InitCommonControls)", results["refusal_setup"], results["refusal_comctl_yardstick"],
         None),
        ("Wine: setup.exe on XP walks %s device keys, none listed (40 IDs), then its no-device"
         " box vs walk_only.exe (same walk, same box)" % format(WALK_KEYS, ","),
         results["walk_setup"], results["walk_yardstick"], GOALS["walk"]),
        ("Wine: setup.exe on XP walks %s device keys vs comctl_walk_only.exe (the same walk and"
         " box after InitCommonControls)" % format(WALK_KEYS, ","),
         results["walk_setup"], results["walk_comctl_yardstick"], None)]
    for name, measured, baseline, goal in compared:
        for kind, label in (("ticks", "start to exit, boxrun's GetTickCount"),
                            ("wall", "wall clock, starting wine and boxrun included")):
            median, least = "%s_median_ms" % kind, "%s_min_ms" % kind
            # Each round runs setup.exe and its yardsticks back to back, so the median of the
            # rounds' own ratios is the least moved by load that comes and goes.
            rounds = statistics.median(
                ratio(a, b) for a, b in zip(measured["%s_ms" % kind], baseline["%s_ms" % kind]))
            ratios = [ratio(measured[median], baseline[median]),
                      ratio(measured[least], baseline[least]), rounds]
            rows.append({
                "name": name,
                "measure": "median / min of %d runs: %s; ratios of the medians, of the"
                           " minimums, and the median of each round's ratio"
                           % (measured["runs"], label),
                "value": "%.0f / %.0f ms" % (measured[median], measured[least]),
                "baseline": "%.0f / %.0f ms" % (baseline[median], baseline[least]),
                "ratio": ratios,
                "goal": "–" if goal is None else
                        "rounds' median ≤ %.2f× (%s)"
                        % (goal, "met" if rounds <= goal else "NOT met")})
    exe, yardstick = results["setup_exe"], results["empty_gui_exe"]
    rows.append({"name": "setup.exe size vs empty_gui.exe", "measure": "bytes",
                 "value": "%d" % exe["bytes"], "baseline": "%d" % yardstick["bytes"],
                 "ratio": ratio(exe["bytes"], yardstick["bytes"]),
                 "goal": "≤ %d bytes (%s)" % (SIZE_LIMIT,
                                              "met" if exe["bytes"] <= SIZE_LIMIT else "NOT met")})
    rows.append({"name": "setup.exe imported DLLs vs empty_gui.exe", "measure": "DLL names",
                 "value": ", ".join(exe["imports"]), "baseline": ", ".join(yardstick["imports"]),
                 "ratio": None, "goal": "–"})
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=10, help="measured runs per program")
    parser.add_argument("--build", default=str(ROOT / "build" / "win32"),
                        help="the win32 build folder (default build/win32)")
    parser.add_argument("--json", help="write the results and table rows here")
    args = parser.parse_args()
    use_build(Path(args.build).resolve())
    needed = [lab.SETUP_EXE, lab.BOXRUN_EXE, lab.STANDIN_EXE] + [
        yardstick_exe(name)
        for name in ("empty_gui", "box_only", "comctl_box_only", "walk_only", "comctl_walk_only")]
    for path in needed:
        if not path.exists():
            print("wine_bench: %s is missing; build the win32 preset" % path, file=sys.stderr)
            return 2

    results = {"setup_exe": executable_facts(lab.SETUP_EXE),
               "empty_gui_exe": executable_facts(yardstick_exe("empty_gui"))}
    lab.session("start")
    try:
        (results["refusal_setup"], results["refusal_yardstick"],
         results["refusal_comctl_yardstick"]) = bench_refusal(args.runs)
        (results["walk_setup"], results["walk_yardstick"],
         results["walk_comctl_yardstick"]) = bench_walk(args.runs)
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
