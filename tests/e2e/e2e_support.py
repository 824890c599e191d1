"""What the end-to-end cases share: the device and package, the boxes they expect, the case
registry and its checks, and the checks of an install."""

import shutil

import winelab as lab

DEVICE = "VEN_8086&DEV_24C2&SUBSYS_24C28086&REV_01"
OTHER = "VEN_1002&DEV_4C59&SUBSYS_00000000&REV_00"
KEY_INI = b"[PCI]\r\nICH4=DEV_24C2\r\n"
# (caption, text, type): the system's boxes have an OK button and no icon (MB_OK); the
# framework's box adds its warning icon (MB_OK | MB_ICONEXCLAMATION).
UNSUPPORTED_BOX = lab.expected_box("unsupported")
NT_NO_DEVICE_BOX = lab.expected_box("no_device_nt")
W9X_NO_DEVICE_BOX = lab.expected_box("no_device_9x")
NO_KEY_FILE_BOX = lab.expected_box("no_key_file")



def expected_copies(version):
    """(file in drv, destination below the Windows directory) of each copy on version ("me"
    or "98se"), in order, from the list the unit tests read too."""
    lines = (lab.ROOT / "tests" / "copy_lists_expected.txt").read_text().splitlines()
    return [tuple(line.split()[1:]) for line in lines
            if line and not line.startswith("#") and line.split()[0] == version]


ME_COPIES = expected_copies("me")
SE_COPIES = expected_copies("98se")

CASES = {}


class CaseFailed(Exception):
    pass


class CaseSkipped(Exception):
    pass


def case(name):
    def register(function):
        CASES[name] = function
        return function
    return register


def check(condition, what):
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        raise CaseFailed(what)


def check_equal(actual, expected, what):
    if actual != expected:
        print("  expected: %r\n  actual:   %r" % (expected, actual))
    check(actual == expected, what)


def case_dir(name):
    folder = lab.WINE_DIR / "cases" / name
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    return folder


def nt_command_line(folder_win, device=DEVICE):
    quote = (lambda p: '"%s"' % p) if " " in folder_win else (lambda p: p)
    return ("%s %s \"PCI\\%s\"" % (quote(folder_win + "install.exe"),
                                    quote(folder_win + "Drv\\hx5820.inf"), device)).encode()


def windows_file(relative):
    """The file under the Windows folder, found as Windows would: without regard to case."""
    path = lab.windows_dir()
    for part in relative.split("\\"):
        matches = [p for p in path.iterdir() if p.name.lower() == part.lower()] \
            if path.is_dir() else []
        if not matches:
            return None
        path = matches[0]
    return path


def clean_windows_folders(with_iosubsys=True):
    """Removes what an earlier case placed, and makes the folders Windows 9x would have."""
    for _, relative in ME_COPIES + SE_COPIES:
        found = windows_file(relative)
        if found is not None:
            found.unlink()
    root = lab.windows_dir()
    (root / "Options" / "install").mkdir(parents=True, exist_ok=True)
    (root / "inf").mkdir(exist_ok=True)
    (root / "system").mkdir(exist_ok=True)
    iosubsys = windows_file(r"system\IoSubsys")
    if with_iosubsys and iosubsys is None:
        (root / "system" / "IoSubsys").mkdir()
    if not with_iosubsys and iosubsys is not None:
        shutil.rmtree(iosubsys)


def check_nt_install(run, folder, folder_win, lifetime_ms, device=DEVICE):
    check_equal(run.boxes, [], "no message box")
    check_equal(run.exit_code, 0, "exit status 0")
    log = lab.read_installer_log(folder)
    check(log is not None, "the installer ran")
    check_equal(log.command_line, nt_command_line(folder_win, device),
                "installer command line, byte for byte")
    check_equal(log.args, [(folder_win + "install.exe").encode(),
                           (folder_win + "Drv\\hx5820.inf").encode(),
                           ("PCI\\" + device).encode()], "installer arguments")
    check(log.window_gone_tick is not None, "the installer's window went")
    check(run.exit_tick >= log.window_gone_tick,
          "launcher ended after the installer's window went (%d >= %d)"
          % (run.exit_tick, log.window_gone_tick))
    check(run.exit_tick - run.start_tick >= lifetime_ms,
          "launcher waited the installer's lifetime of %d ms (took %d ms)"
          % (lifetime_ms, run.exit_tick - run.start_tick))


def check_placed(folder, copies, present=lambda relative: True):
    for source, relative in copies:
        placed = windows_file(relative)
        if present(relative):
            expected = (folder / "drv" / source).read_bytes()
            check(placed is not None and placed.read_bytes() == expected,
                  "%s holds drv\\%s" % (relative, source))
        else:
            check(placed is None, "%s not placed" % relative)
