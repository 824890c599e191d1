#!/usr/bin/env python3
"""The runs the manuals show, run again: each block of README.md and tools/keycheck/README.md that
starts with "$ build/host/tools/keycheck/keycheck ARGS" is run from the source folder with the
keycheck given, and its output is held against the block's lines. A line "..." in a block stands
for any lines of the output, none included; every other line must be the output's own, in order,
and a block that does not end in "..." must end where the output ends.

    readme_samples_test.py KEYCHECK SOURCE_DIR
"""
import subprocess
import sys
from pathlib import Path

PROMPT = "$ build/host/tools/keycheck/keycheck "
MANUALS = ["README.md", "tools/keycheck/README.md"]


def blocks(text):
    """(line number, arguments, expected lines) of each run a manual shows."""
    lines = text.splitlines()
    found = []
    for number, line in enumerate(lines, 1):
        if not line.startswith(PROMPT):
            continue
        expected = []
        for following in lines[number:]:
            if following.startswith("```") or following.startswith("$ "):
                break
            expected.append(following)
        found.append((number, line[len(PROMPT):].split(), expected))
    return found


def mismatch(expected, actual):
    """Where the output leaves the block, or None."""
    at = 0
    skipping = False
    for line in expected:
        if line.strip() == "...":
            skipping = True
            continue
        if skipping:
            while at < len(actual) and actual[at] != line:
                at += 1
            if at == len(actual):
                return "expected %r after a gap; the output has no such line" % line
            skipping = False
        elif at >= len(actual) or actual[at] != line:
            return "output line %d: expected %r, got %r" % (
                at + 1, line, actual[at] if at < len(actual) else "<end of output>")
        at += 1
    if not skipping and at != len(actual):
        return "the output goes on after the block: %r" % actual[at]
    return None


def main():
    keycheck, source = sys.argv[1], Path(sys.argv[2])
    runs = failures = 0
    for manual in MANUALS:
        for number, args, expected in blocks((source / manual).read_text(encoding="utf-8")):
            run = subprocess.run([keycheck] + args, cwd=source, capture_output=True, timeout=120)
            actual = run.stdout.decode("utf-8").splitlines()
            problem = mismatch(expected, actual)
            runs += 1
            failures += problem is not None
            print("%s %s:%d keycheck %s%s" % ("FAIL" if problem else "ok  ", manual, number,
                                             " ".join(args), ": " + problem if problem else ""))
    if runs == 0:
        print("no runs found in the manuals")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
