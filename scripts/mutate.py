#!/usr/bin/env python3
"""Mutation testing of the launcher's logic: one small change at a time, host unit tests rebuilt and run.

Each mutant changes one operator, constant or statement in app/, device/, install/, osinfo/ or
platform/ (the Win32 forwarding and other Windows-only files excepted). The script copies the
working tree into private trees under the work directory (default build/mutate), one per job,
builds the `unit_tests` target there incrementally and runs it; the working tree itself is never
written. A mutant is killed when the tests fail or time out, and "did not compile" when the build
fails. Mutants listed in scripts/mutation_equivalents.txt are known to behave like the original
and are not run (--check-equivalents runs only them). At the end it prints every survivor and
the score. When ccache is installed, every compilation goes through it.

    scripts/mutate.py [--jobs N] [--files PATH ...] [--list] [--build-dir DIR] [--report FILE]
"""

import argparse
import os
import shutil
import signal
import sys
import time
from pathlib import Path

from mutation.mutants import find_mutants, logic_files, read_equivalents
from mutation.report import equivalents_check, summary
from mutation.runner import Runner, Worker
from mutation.settings import DEFAULT_EQUIVALENTS, ROOT
from mutation.trees import prepare_tree, tree_files


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--list", action="store_true", help="only list the mutants")
    p.add_argument("--files", nargs="+", metavar="PATH", help="mutate only these files (paths from the repository root)")
    p.add_argument("--jobs", type=int, default=1, help="mutants run at once, each in its own tree and build (default 1)")
    p.add_argument("--build-dir", default="build/mutate", help="where the private trees and their builds live (default build/mutate)")
    p.add_argument("--equivalents", default=DEFAULT_EQUIVALENTS, help=f"equivalent mutants (default {DEFAULT_EQUIVALENTS})")
    p.add_argument("--timeout", type=float, help="seconds one test run may take (default: 10 s plus 10 times the unmutated run)")
    p.add_argument("--report", metavar="FILE", help="also write the survivors and the score to FILE")
    p.add_argument("--check-equivalents", action="store_true",
                   help="run only the recorded equivalents; any that a test kills is listed")
    return p.parse_args()


def chosen_files(args, source):
    """The logic files to mutate: all of them, or those --files names."""
    files = logic_files(source)
    if not args.files:
        return files
    wanted = [Path(os.path.relpath(Path(f).resolve(), source)).as_posix() if Path(f).is_absolute()
              else Path(os.path.normpath(f)).as_posix() for f in args.files]
    unknown = [f for f in wanted if f not in files]
    if unknown:
        sys.exit(f"not among the mutated files: {', '.join(unknown)} (known: {', '.join(files)})")
    return wanted


def sort_mutants(files, source, equivalents):
    """(mutants to run, equivalents found, equivalents that match no mutant any more)."""
    mutants, excluded, used = [], [], set()
    for rel in files:
        for m in find_mutants(rel, (source / rel).read_text(encoding="latin-1")):
            if m.key() in equivalents:
                excluded.append(m)
                used.add(m.key())
            else:
                mutants.append(m)
    stale = [k for k in equivalents if k not in used and k[0] in files]
    return mutants, excluded, stale


def list_mutants(mutants, excluded, stale, equivalents, file_count):
    for m in mutants:
        print(f"{m.operator:17} {m.describe()}")
    for m in excluded:
        print(f"{'equivalent':17} {m.describe()}: {equivalents[m.key()]}")
    for k in stale:
        print(f"{'stale equivalent':17} {k[0]} | {k[1]} | {k[2]} ==> {k[3]}")
    print(f"{len(mutants)} mutants to run, {len(excluded)} equivalents in {file_count} files")


def install_interrupts():
    """Ctrl-C, SIGTERM and SIGHUP end the run cleanly, also where the shell started the script
    with Ctrl-C ignored (a background job)."""
    def interrupted(signum, _frame):
        raise KeyboardInterrupt(signal.Signals(signum).name)

    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)
    if signal.getsignal(signal.SIGHUP) is not signal.SIG_IGN:
        signal.signal(signal.SIGHUP, interrupted)


def start_workers(args, runner, source, work, jobs):
    """One worker per private tree, each checked to build and pass unmutated; sets the timeout."""
    names = tree_files(source)
    parallel = max(1, (os.cpu_count() or 1) // jobs)
    # With ccache, putting a file back costs no compilation, and a rerun compiles only the
    # mutants of files that changed since.
    launcher = shutil.which("ccache")
    if launcher:
        # One cache for all the trees: paths below the work directory are hashed relative to it.
        os.environ.update(CCACHE_DIR=str(work / "ccache"), CCACHE_BASEDIR=str(work),
                          CCACHE_NOHASHDIR="1")
    print(f"Preparing {jobs} private tree(s) under {work}{' (with ccache)' if launcher else ''} ...",
          flush=True)
    workers, baseline = [], 0.0
    for index in range(jobs):
        tree, build_dir = prepare_tree(source, work, index, names, launcher)
        w = Worker(runner, index, tree, build_dir, parallel)
        built, out = w.build()
        if not built:
            sys.exit(f"the unmutated tree does not build:\n{out[-3000:]}")
        t0 = time.monotonic()
        status, out = w.test(600)
        if status != 0:
            sys.exit(f"the unit tests fail without any mutation:\n{out[-3000:]}")
        baseline = max(baseline, time.monotonic() - t0)
        workers.append(w)
    if args.timeout is None:
        args.timeout = 10 + 10 * baseline
    print(f"Unmutated: tests pass in {baseline:.2f}s; timeout per run {args.timeout:.0f}s.",
          flush=True)
    return workers


def run_all(args, runner, source, work, jobs):
    """Runs every mutant; returns 130 when interrupted, else None. Every mutated file is put
    back whatever happens."""
    workers = []
    install_interrupts()
    try:
        workers = start_workers(args, runner, source, work, jobs)
        for w in workers:
            w.start()
        while any(w.is_alive() for w in workers):
            for w in workers:
                w.join(0.2)
        errors = [w.error for w in workers if w.error]
        if errors:
            raise errors[0]
    except KeyboardInterrupt as e:
        runner.stop.set()
        runner.kill_children()
        for w in workers:
            w.join(10)
        runner.restore_all()
        print(f"\nInterrupted ({e or 'SIGINT'}) after {len(runner.results)} of {runner.total} "
              f"mutants; every mutated file is restored.", file=sys.stderr)
        return 130
    finally:
        runner.stop.set()
        runner.kill_children()
        runner.restore_all()
    return None


def main():
    args = parse_args()
    started = time.monotonic()
    source = ROOT
    files = chosen_files(args, source)
    equivalents = read_equivalents(source / args.equivalents)
    mutants, excluded, stale = sort_mutants(files, source, equivalents)
    if args.check_equivalents:
        mutants, excluded = excluded, []
    if args.list:
        list_mutants(mutants, excluded, stale, equivalents, len(files))
        return 0

    jobs = max(1, args.jobs)
    runner = Runner(args, mutants)
    print(f"{len(mutants)} mutants in {len(files)} files, {len(excluded)} equivalents skipped, "
          f"{jobs} job(s).", flush=True)
    interrupted = run_all(args, runner, source, (source / args.build_dir).resolve(), jobs)
    if interrupted:
        return interrupted
    if args.check_equivalents:
        lines = equivalents_check(runner.results)
    else:
        lines = summary(runner.results, excluded, stale, time.monotonic() - started)
    print("\n".join(lines))
    if args.report:
        Path(args.report).write_text("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
