"""Which Wine lane runs the Windows build's tests on this machine, and why.

The 32-bit lane runs the shipped build (build/win32) under Wine's 32-bit loader. A kernel
without IA-32 emulation cannot start that loader ("Exec format error"), and every Debian
wrapper (wine, wineboot, winecfg) calls it; there the 64-bit lane runs a 64-bit build of the
same sources (build/win64) under /usr/lib/wine/wine64 alone, every helper program 64-bit too:
wine64 starts a 32-bit program as if it had run and ended with status 0. WINE_LANE=32 or 64
asks for a lane, WINE_LANE=none for neither; without it the 32-bit lane runs where it can.

    wine_lane.py            prints the lane and why, one line
    wine_lane.py --shell    prints LANE=32|64|none and LANE_BUILD=... for a shell's eval
"""

import os
import shlex
import subprocess
import sys
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WINE64_LOADER = "/usr/lib/wine/wine64"


@dataclass(frozen=True)
class Lane:
    bits: int            # 32 or 64; 0 when no lane can run here
    reason: str          # why this lane, or why none
    build: Path          # the CMake build holding setup.exe, its helpers and keycheck.exe
    loader: tuple        # the command that runs a Windows program
    arch: str            # WINEARCH of the lane's prefixes
    state: Path          # where the lane keeps its prefixes: build/wine or build/wine64
    machine: int         # the PE machine type of its programs: i386 or AMD64

    def describe(self):
        if not self.bits:
            return "no Wine lane: " + self.reason
        return "%d-bit Wine lane (%s): %s" % (self.bits, self.build.name, self.reason)

    def env(self):
        """What every Wine command of the lane needs in its environment."""
        extra = {"WINEARCH": self.arch}
        if self.bits == 64:
            extra["WINELOADER"] = WINE64_LOADER
        return extra


def pe_machine(path):
    """The machine type in a PE file's header (0x14C i386, 0x8664 AMD64), or None."""
    try:
        with open(path, "rb") as file:
            head = file.read(4096)
    except OSError:
        return None
    at = int.from_bytes(head[0x3C:0x40], "little") if len(head) >= 0x40 else len(head)
    if head[:2] != b"MZ" or head[at:at + 4] != b"PE\0\0":
        return None
    return int.from_bytes(head[at + 4:at + 6], "little")


def wrong_machine(lane, paths):
    """Why one of paths cannot run in lane (absent, or built for the other lane), or None: a
    32-bit program under wine64 seems to run and end with status 0, so its type is checked."""
    for path in paths:
        machine = pe_machine(path)
        if machine is None:
            return "%s is absent or no PE file: build the %s preset" % (path, lane.build.name)
        if machine != lane.machine:
            return "%s is built for machine 0x%X, not this lane's 0x%X" % (
                path, machine, lane.machine)
    return None


def _fails(command):
    """Why command does not run and end with status 0, or None."""
    try:
        result = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True,
                                timeout=60)
    except (OSError, subprocess.TimeoutExpired) as error:
        return "%s did not run: %s" % (command[0], error)
    if result.returncode != 0:
        said = result.stderr.decode("latin-1").strip().splitlines()
        return "%s fails (%s)" % (" ".join(command), said[-1] if said else result.returncode)
    return None


LANE_32 = dict(bits=32, build=ROOT / "build" / "win32", loader=("wine",), arch="win32",
               state=ROOT / "build" / "wine", machine=0x14C)
LANE_64 = dict(bits=64, build=ROOT / "build" / "win64", loader=(WINE64_LOADER,),
               arch="win64", state=ROOT / "build" / "wine64", machine=0x8664)
NO_LANE = dict(LANE_32, bits=0)


def detect():
    asked = os.environ.get("WINE_LANE", "")
    if asked not in ("", "32", "64", "none"):
        return Lane(reason="WINE_LANE=%s is none of 32, 64, none" % asked, **NO_LANE)
    if asked == "none":
        return Lane(reason="WINE_LANE=none", **NO_LANE)
    no_32 = _fails(["wine", "--version"])
    why_32 = "the 32-bit loader runs" if not no_32 else "the 32-bit loader cannot run here: " + no_32
    if asked != "64" and not no_32:
        return Lane(reason=why_32, **LANE_32)
    if asked == "32":
        return Lane(reason="WINE_LANE=32, but " + no_32, **NO_LANE)
    no_64 = _fails([WINE64_LOADER, "--version"])
    if no_64:
        return Lane(reason="%s; %s" % (why_32, no_64), **NO_LANE)
    return Lane(reason=("WINE_LANE=64; " if asked else "") + why_32, **LANE_64)


def main():
    lane = detect()
    if sys.argv[1:] == ["--shell"]:
        print("LANE=%s" % (lane.bits or "none"))
        print("LANE_BUILD=%s" % shlex.quote(str(lane.build)))
        print("LANE_TEXT=%s" % shlex.quote(lane.describe()))
    else:
        print(lane.describe())
    return 0


if __name__ == "__main__":
    sys.exit(main())
