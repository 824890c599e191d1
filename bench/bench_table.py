#!/usr/bin/env python3
"""Prints the machine line and one markdown table from the host and Wine benchmark results.

    bench_table.py HOST_JSON WINE_JSON [ROWS_JSON ...]

HOST_JSON is launcher_bench's --benchmark_format=json output: each measured benchmark names
its yardstick in its label ("baseline: NAME"), followed by "; goal: RATIO" when the ratio to
it has a goal. WINE_JSON is wine_bench.py's --json output, whose "rows" are already in table
form, as are those of any further ROWS_JSON (keycheck_bench.py's). The goal column says
whether each goal was met. Exits 1 when a benchmark reported an
error.
"""

import datetime
import json
import os
import platform
import subprocess
import sys

NS_PER_UNIT = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def nanoseconds(bench):
    """CPU time: on a machine shared with other work, wall time mostly measures the others."""
    return bench["cpu_time"] * NS_PER_UNIT[bench["time_unit"]]


def show_time(ns):
    if ns < 1e3:
        return "%.1f ns" % ns
    if ns < 1e6:
        return "%.1f µs" % (ns / 1e3)
    return "%.1f ms" % (ns / 1e6)


def show_ratio(ratio):
    """A ratio as 1.23×, a list of them joined by " / ", none as a dash."""
    if isinstance(ratio, list):
        return " / ".join(show_ratio(r) for r in ratio)
    if ratio is None:
        return "–"
    return "%.2f×" % ratio if ratio < 100 else "%.0f×" % ratio


def host_rows(report):
    benches = [b for b in report["benchmarks"] if b.get("run_type", "iteration") == "iteration"]
    failed = [b["name"] for b in benches if b.get("error_occurred")]
    if failed:
        raise SystemExit("bench_table: host benchmarks failed: %s" % ", ".join(failed))
    by_name = {b["name"]: b for b in benches}
    rows = []
    for bench in benches:
        fields = dict(part.split(": ", 1) for part in bench.get("label", "").split("; ")
                      if ": " in part)
        if "baseline" not in fields:
            continue
        base = by_name.get(fields["baseline"])
        if base is None:
            raise SystemExit("bench_table: %s has no baseline result" % bench["name"])
        value, base_value = nanoseconds(bench), nanoseconds(base)
        ratio = value / base_value
        goal = "–"
        if "goal" in fields:
            limit = float(fields["goal"])
            goal = "≤ %.2f× (%s)" % (limit, "met" if ratio <= limit else "NOT met")
        rows.append({"name": "host: " + bench["name"],
                     "measure": "CPU time per call, mean of %d iterations" % bench["iterations"],
                     "value": show_time(value),
                     "baseline": "%s (%s)" % (show_time(base_value), base["name"].split("/")[0]),
                     "ratio": ratio, "goal": goal})
    return rows


def cpu_model():
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown CPU"


def wine_version():
    try:
        result = subprocess.run(["wine", "--version"], capture_output=True, text=True,
                                timeout=60)
        return result.stdout.strip() if result.returncode == 0 else "wine cannot run here"
    except (OSError, subprocess.SubprocessError):
        return "wine not found"


def machine_line(host_context):
    mhz = host_context.get("mhz_per_cpu")
    return "Machine: %s%s, %d cores, Linux %s, %s, Google Benchmark (library built as %s); " \
        "taken %s" % (cpu_model(), " at %d MHz" % mhz if mhz else "", os.cpu_count() or 0,
                      platform.release(), wine_version(),
                      host_context.get("library_build_type", "?"),
                      taken_at(host_context))


def taken_at(host_context):
    """When the host benchmarks ran, from their report; now, if it does not say."""
    try:
        when = datetime.datetime.fromisoformat(host_context["date"])
    except (KeyError, ValueError):
        when = datetime.datetime.now().astimezone()
    return when.strftime("%Y-%m-%d %H:%M %Z")


def main():
    if len(sys.argv) < 3:
        print("usage: bench_table.py HOST_JSON WINE_JSON [ROWS_JSON ...]", file=sys.stderr)
        return 2
    with open(sys.argv[1]) as f:
        host = json.load(f)
    rows = host_rows(host)
    for path in sys.argv[2:]:
        with open(path) as f:
            rows += json.load(f)["rows"]
    print(machine_line(host.get("context", {})))
    print()
    print("| name | measure | value | baseline | ratio | goal |")
    print("|---|---|---|---|---|---|")
    for row in rows:
        print("| %s | %s | %s | %s | %s | %s |" % (
            row["name"], row["measure"], row["value"], row["baseline"], show_ratio(row["ratio"]),
            row.get("goal", "–")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
