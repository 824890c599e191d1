"""Checks that keycheck predicts what the launcher did in a Wine end-to-end case.

crosscheck() writes the case's Machine as a registry export beside the package, runs the host
build's `keycheck predict --json` on the package and that export, and compares its prediction
with what the real setup.exe did under Wine: the message boxes, the exit status, the
installer's command line and the device key deleted.
"""

import json
import os
import subprocess
from pathlib import Path

import winelab as lab

# E2E_KEYCHECK names another build's keycheck (for example a helper's own build directory).
KEYCHECK = Path(os.environ.get("E2E_KEYCHECK",
                               lab.ROOT / "build" / "host" / "tools" / "keycheck" / "keycheck"))

# keycheck's --os name for each Wine version name.
OS_OPTIONS = {"win31": "31", "win95": "95", "win98fe": "98", "win98": "98se", "winme": "me",
              "nt40": "nt4", "win2k": "2000", "winxp": "xp", "win2003": "2003",
              "vista": "vista", "win10": "10"}
# The ANSI code page Wine takes from each locale the cases use, and its Python codec.
CODE_PAGES = {None: ("1252", "cp1252"), "zh_TW.UTF-8": ("950", "cp950"),
              "ja_JP.UTF-8": ("932", "cp932")}
# The versions whose own export tool writes version 5.00 in UTF-16LE; the older write REGEDIT4.
UNICODE_EXPORTS = {"win2k", "winxp", "win2003", "vista", "win10"}


def sorted_as_wine(paths):
    """Wine keeps subkeys in name order, without regard to case."""
    return sorted(paths, key=lambda path: [name.upper() for name in path.split("\\")])


def export_bytes(machine):
    """The machine's PCI keys as its own Windows would export them. The NT branch also holds
    the key Wine keeps there for itself."""
    lines = ["[%s]" % lab.NT_PCI]
    for key in sorted_as_wine([lab.WINE_OWN_NT_KEY] + machine.nt_keys):
        lines += ["[%s\\%s]" % (lab.NT_PCI, key), '"Case"="e2e"', ""]
    if machine.w9x_keys:
        lines += ["[%s]" % lab.W9X_PCI]
    for key in sorted_as_wine(machine.w9x_keys):
        lines += ["[%s\\%s]" % (lab.W9X_PCI, key), '"Case"="e2e"', ""]
    if machine.version in UNICODE_EXPORTS:
        text = "Windows Registry Editor Version 5.00\r\n\r\n" + "\r\n".join(lines) + "\r\n"
        return b"\xff\xfe" + text.encode("utf-16-le")
    return ("REGEDIT4\r\n\r\n" + "\r\n".join(lines) + "\r\n").encode("cp1252")


def observed_deletions(machine, lang):
    """The 9x device keys the run removed."""
    names = []
    for key in machine.w9x_keys:
        name = key.split("\\")[0]
        if name not in names:
            names.append(name)
    return [name for name in names if not lab.key_exists(lab.W9X_PCI + "\\" + name, lang=lang)]


def crosscheck(check_equal, folder, machine, run, folder_win=None, lang=None):
    """Compares keycheck's prediction for the package in folder on machine with run, the
    launcher's real run; folder_win is the Windows path the launcher ran from (by default
    the Z: path of folder), lang the locale of the run."""
    if not KEYCHECK.exists():
        print("skip: keycheck cross-check, %s is absent (cmake --build --preset host)"
              % KEYCHECK)
        return
    folder = Path(folder)
    code_page, codec = CODE_PAGES[lang]
    dir_bytes = (folder_win or lab.windows_path(folder) + "\\").encode(codec)
    export = folder.parent / "keycheck-machine.reg"
    export.write_bytes(export_bytes(machine))
    result = subprocess.run(
        [str(KEYCHECK), "predict", str(folder), "--os", OS_OPTIONS[machine.version],
         "--registry", str(export), "--dir", dir_bytes, "--codepage", code_page, "--json"],
        stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    check_equal(result.stderr, b"", "keycheck predict ran without an error")
    prediction = json.loads(result.stdout)

    def ansi(text):  # keycheck's JSON holds each ANSI byte as one character
        return None if text is None else text.encode("latin-1")

    installs = prediction["commandLine"] is not None or prediction["deletedKey"] is not None
    check_equal(result.returncode, 0 if installs else 1, "keycheck's exit status")
    check_equal([(ansi(box["caption"]), ansi(box["text"]), box["type"])
                 for box in prediction["boxes"]],
                run.boxes, "keycheck predicted the message boxes, their icons and buttons")
    check_equal(prediction["launcherExitStatus"], run.exit_code,
                "keycheck predicted the exit status")
    log = lab.read_installer_log(folder)
    check_equal(ansi(prediction["commandLine"]), None if log is None else log.command_line,
                "keycheck predicted the installer's command line")
    deleted = prediction["deletedKey"]
    check_equal([] if deleted is None else [deleted.split("\\")[-1]],
                observed_deletions(machine, lang), "keycheck predicted the deleted key")
