"""Runs the Windows build of the launcher under Wine and reports what it did.

The shared pieces of the end-to-end tests and of the sample run: the Wine environment, the
registry and version set-up, package folders, and one launcher run through boxrun.exe, which
reads and closes every message box and reports the exit status.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

import wine_lane

ROOT = wine_lane.ROOT
# The lane this machine runs (wine_lane.py): its build, its loader, its prefixes.
LANE = wine_lane.detect()
WIN_BUILD = LANE.build
SETUP_EXE = WIN_BUILD / "setup.exe"
BOXRUN_EXE = WIN_BUILD / "tests" / "e2e" / "helpers" / "boxrun.exe"
STANDIN_EXE = WIN_BUILD / "tests" / "e2e" / "helpers" / "standin_install.exe"
# WINEPREFIX, when set, names another prefix (and its folder the place for the case files).
PREFIX = Path(os.environ.get("WINEPREFIX", LANE.state / "prefix"))
WINE_DIR = PREFIX.parent
SESSION_SCRIPT = ROOT / "tests" / "e2e" / "wine_session.sh"

NT_PCI = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\PCI"
W9X_PCI = r"HKEY_LOCAL_MACHINE\Enum\PCI"

DRIVER_FILES = ["hx5820.inf", "hx5820.ina", "hx5820.mpd", "hx5820.sys", "hx5820.cat",
                "hxvport.vxd", "hxpanel.cpl", "hxAuxDrv.sys"]


EXPECTED_BOXES = ROOT / "tests" / "expected_boxes.txt"


def expected_box(name):
    """(caption, text, type) of a box the launcher shows, as bytes, from the tests' own golden
    table: a line of name, type, caption and text between tabs, with \\n for a line break."""
    for line in EXPECTED_BOXES.read_text(encoding="ascii").splitlines():
        if line and not line.startswith("#"):
            fields = line.split("\t")
            if fields[0] == name:
                return (fields[2].encode("ascii"),
                        fields[3].replace("\\n", "\n").encode("ascii"), int(fields[1], 16))
    raise KeyError("%s is not in %s" % (name, EXPECTED_BOXES))


def lane_unusable():
    """Why the Windows build cannot be run under Wine here, or None: no lane runs on this
    machine, or the lane's build is absent."""
    if not LANE.bits:
        return LANE.describe()
    return wine_lane.wrong_machine(LANE, (SETUP_EXE, BOXRUN_EXE, STANDIN_EXE))


def session_display():
    """The display of the running session: the one it asked for, else the free one Xvfb took
    (wine_session.sh writes it beside the prefix); empty before a session starts."""
    if os.environ.get("E2E_DISPLAY"):
        return os.environ["E2E_DISPLAY"]
    written = WINE_DIR / "e2e-display"
    return written.read_text().strip() if written.exists() else ""


def wine_env(lang=None):
    env = dict(os.environ)
    env.update(WINEPREFIX=str(PREFIX), WINEDEBUG="-all", DISPLAY=session_display(),
               WINE_LOADER=" ".join(LANE.loader), **LANE.env())
    if lang:
        env["LANG"] = lang
        env["LC_ALL"] = lang
    return env


def session(command, lang=None):
    """Starts or stops the display and the persistent wineserver (with LANG, if given)."""
    env = wine_env(lang)
    if os.environ.get("E2E_DISPLAY"):
        env["E2E_DISPLAY"] = os.environ["E2E_DISPLAY"]
    else:
        env.pop("E2E_DISPLAY", None)
    subprocess.run(["bash", str(SESSION_SCRIPT), command], env=env, check=True,
                   stdout=subprocess.DEVNULL)


def restart_session(lang=None):
    """Ends this run's session and starts it again (with LANG, if given): the prefix's lock is
    the session's, so a new one starts only once the old one has stopped."""
    session("stop")
    session("start", lang)


def unescape(text):
    """Undoes boxrun's and the stand-in's escaping of bytes as \\xHH; returns bytes."""
    return re.sub(rb"\\x([0-9a-f]{2})", lambda m: bytes([int(m.group(1), 16)]),
                  text.encode("latin-1"))


def windows_path(path):
    """The Windows path of a Unix path, through Wine's Z: drive."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def run_captured(command, env, timeout):
    """Runs command and returns (exit status, stdout bytes, stderr bytes).

    Output goes through temporary files, not pipes: Wine may start its service processes
    from this call, and they live on with whatever descriptors they inherited, so a pipe
    would never reach its end."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        result = subprocess.run(command, env=env, timeout=timeout, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=err)
        out.seek(0)
        err.seek(0)
        return result.returncode, out.read(), err.read()


def wine(args, lang=None, timeout=120):
    return run_captured(list(LANE.loader) + args, wine_env(lang), timeout)


def reg_text(lines):
    return "REGEDIT4\r\n\r\n" + "\r\n".join(lines) + "\r\n"


def import_registry(lines, lang=None):
    """One regedit import: much faster than a reg call per key."""
    WINE_DIR.mkdir(parents=True, exist_ok=True)
    reg_file = WINE_DIR / "import.reg"
    reg_file.write_bytes(reg_text(lines).encode("cp1252"))
    status, _, err = wine(["regedit", "/s", windows_path(reg_file)], lang=lang)
    if status != 0:
        raise RuntimeError("regedit import failed: %r" % err)


def key_exists(path, lang=None):
    return wine(["reg", "query", path], lang=lang)[0] == 0


@dataclass
class Machine:
    """What a case puts in the registry before the launcher runs."""
    version: str
    nt_keys: list = field(default_factory=list)   # subkey paths under the NT PCI branch
    w9x_keys: list = field(default_factory=list)  # subkey paths under the 9x PCI branch

    def registry_lines(self, lang=None):
        lines = ['[HKEY_CURRENT_USER\\Software\\Wine]', '"Version"="%s"' % self.version, ""]
        # Start each case from a clean branch: the 9x one goes whole, the NT one keeps
        # only the key Wine makes for itself.
        lines += ["[-%s]" % W9X_PCI, ""]
        lines += ["[-%s\\%s]" % (NT_PCI, name) for name in nt_subkeys(lang)
                  if name != WINE_OWN_NT_KEY] + [""]
        for key in self.nt_keys:
            lines += ["[%s\\%s]" % (NT_PCI, key), '"Case"="e2e"', ""]
        for key in self.w9x_keys:
            lines += ["[%s\\%s]" % (W9X_PCI, key), '"Case"="e2e"', ""]
        return lines

    def apply(self, lang=None):
        import_registry(self.registry_lines(lang), lang=lang)


WINE_OWN_NT_KEY = "VEN_0000&DEV_0000&SUBSYS_00000000&REV_00"


def nt_subkeys(lang=None):
    """The names of the subkeys of the NT PCI branch."""
    _, out, _ = wine(["reg", "query", NT_PCI], lang=lang)
    prefix = NT_PCI.upper() + "\\"
    names = []
    for line in out.decode("latin-1").splitlines():
        line = line.strip()
        if line.upper().startswith(prefix):
            names.append(line[len(prefix):])
    return names


def make_package(folder, key_ini, exe_name="setup.exe", driver_files=DRIVER_FILES):
    """A driver package: the launcher, the stand-in installer, key.ini and the drv folder."""
    folder = Path(folder)
    if folder.exists():
        shutil.rmtree(folder)
    (folder / "drv").mkdir(parents=True)
    shutil.copy(SETUP_EXE, folder / exe_name)
    shutil.copy(STANDIN_EXE, folder / "install.exe")
    if key_ini is not None:
        (folder / "key.ini").write_bytes(key_ini)
    for name in driver_files:
        (folder / "drv" / name).write_bytes(b"package file " + name.encode() + b"\r\n")
    return folder


# MessageBoxA's type from what the box shows: its icon and the command IDs of its buttons.
BOX_ICONS = {"none": 0x00, "hand": 0x10, "question": 0x20, "exclamation": 0x30, "asterisk": 0x40}
BOX_BUTTONS = {frozenset({1}): 0x0, frozenset({1, 2}): 0x1, frozenset({3, 4, 5}): 0x2,
               frozenset({6, 7, 2}): 0x3, frozenset({6, 7}): 0x4, frozenset({4, 2}): 0x5,
               frozenset({2, 10, 11}): 0x6}
IDHELP = 9
MB_HELP = 0x4000


def box_type(icon, button_ids):
    """The type a box was shown with, from boxrun's icon name and button IDs."""
    ids = {int(i) for i in button_ids.split(",") if i}
    help_button = MB_HELP if IDHELP in ids else 0
    buttons = BOX_BUTTONS.get(frozenset(ids - {IDHELP}))
    if icon not in BOX_ICONS or buttons is None:
        raise RuntimeError("box with icon %r and buttons %r has no MessageBoxA type"
                           % (icon, button_ids))
    return BOX_ICONS[icon] | buttons | help_button


@dataclass
class Run:
    boxes: list        # (caption bytes, text bytes, type)
    exit_code: int
    exit_tick: int
    start_tick: int
    output: str


def run_launcher(program, lang=None, timeout=180, env_extra=None):
    """Starts program (a Unix path, or a Windows path string) through boxrun.exe."""
    target = program if isinstance(program, str) else windows_path(program)
    env = wine_env(lang)
    env.update(env_extra or {})
    _, out, err = run_captured(list(LANE.loader) + [windows_path(BOXRUN_EXE), target,
                                                    str(timeout)], env, timeout + 30)
    output = out.decode("latin-1")
    boxes, exit_code, exit_tick, start_tick = [], None, None, None
    for line in output.splitlines():
        parts = line.rstrip("\r").split("\t")
        if parts[0] == "BOX":
            boxes.append((unescape(parts[1]), unescape(parts[2]), box_type(parts[3], parts[4])))
        elif parts[0] == "EXIT":
            exit_code, exit_tick = int(parts[1]), int(parts[2])
        elif parts[0] == "START":
            start_tick = int(parts[1])
    if exit_code is None:
        raise RuntimeError("boxrun did not report an exit: %r %r" % (output, err[-2000:]))
    return Run(boxes, exit_code, exit_tick, start_tick, output)


@dataclass
class InstallerLog:
    command_line: bytes
    args: list
    start_tick: int
    window_tick: int  # when its window was made; None before it is
    window_gone_tick: int


def read_installer_log(folder):
    """What the stand-in install.exe recorded in its folder, or None if it never ran."""
    log = Path(folder) / "install.log"
    if not log.exists():
        return None
    command_line, args, start, window, gone = None, [], None, None, None
    for line in log.read_text("latin-1").splitlines():
        parts = line.split("\t")
        if parts[0] == "CMDLINE":
            command_line = unescape(parts[1])
        elif parts[0] == "ARG":
            args.append(unescape(parts[2]))
        elif parts[0] == "START":
            start = int(parts[1])
        elif parts[0] == "WINDOW":
            window = int(parts[1])
        elif parts[0] == "WINDOW_GONE":
            gone = int(parts[1])
    return InstallerLog(command_line, args, start, window, gone)


def windows_dir():
    return PREFIX / "drive_c" / "windows"


def wait_for(predicate, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(0.1)
    return predicate()


def main(argv):
    """winelab.py start|stop: the session of a test run, in this machine's lane (exit 77,
    skipped, where none can run or its build is absent)."""
    if len(argv) != 2 or argv[1] not in ("start", "stop"):
        print("usage: winelab.py start|stop", file=sys.stderr)
        return 2
    unusable = lane_unusable()
    if unusable:
        print("SKIP: %s" % unusable)
        return 77
    print(LANE.describe())
    session(argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
