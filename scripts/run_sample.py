"""Runs setup.exe under Wine on the bundled sample package, as Windows XP and as Windows 98 SE,
and tells plainly what it did: the installer's command line, the key removed, the files placed,
or the message box shown."""

import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import winelab as lab  # noqa: E402

SAMPLE = lab.ROOT / "sample" / "package"
DEVICE = "VEN_1A2B&DEV_5820&SUBSYS_00000000&REV_01"
OTHER = "VEN_8086&DEV_7110&SUBSYS_00000000&REV_02"
PLACED = ["inf", "system", r"system\IoSubsys", r"Options\install"]


def package(folder):
    if folder.exists():
        shutil.rmtree(folder)
    shutil.copytree(SAMPLE, folder)
    shutil.copy(lab.SETUP_EXE, folder / "setup.exe")
    shutil.copy(lab.STANDIN_EXE, folder / "install.exe")
    return folder


def show_boxes(run):
    if not run.boxes:
        print("  message box  none")
    for caption, text in run.boxes:
        print("  message box  [%s] %s" % (caption.decode("cp1252"),
                                          text.decode("cp1252").replace("\n", " / ")))
    print("  exit status  %d" % run.exit_code)


def as_xp(folder):
    print("== Windows XP: device key %s present" % DEVICE)
    lab.Machine("winxp", nt_keys=[OTHER, DEVICE + "\\4&1f7dbc9f&0&10"]).apply()
    run = lab.run_launcher(folder / "setup.exe", env_extra={"STANDIN_LIFETIME_MS": "3000"})
    log = lab.read_installer_log(folder)
    if log is None:
        print("  installer    not started")
    else:
        print("  installer    %s" % log.command_line.decode("cp1252"))
        for i, arg in enumerate(log.args):
            print("  argument %d   %s" % (i, arg.decode("cp1252")))
        print("  waited       %d ms, until the installer's window had gone"
              % (run.exit_tick - run.start_tick))
    show_boxes(run)


def as_98se(folder):
    print("== Windows 98 SE: device key Enum\\PCI\\%s present" % DEVICE)
    windows = lab.windows_dir()
    targets = [windows / relative.replace("\\", "/") for relative in PLACED]
    for target in targets:
        target.mkdir(parents=True, exist_ok=True)
        for earlier in target.glob("hx*"):
            earlier.unlink()
    lab.Machine("win98", w9x_keys=[OTHER + "\\0", DEVICE + "\\0000"]).apply()
    run = lab.run_launcher(folder / "setup.exe")
    gone = not lab.key_exists(lab.W9X_PCI + "\\" + DEVICE)
    print("  device key   %s" % ("removed (Windows re-detects the device)" if gone else "kept"))
    print("  other key    %s" % ("kept" if lab.key_exists(lab.W9X_PCI + "\\" + OTHER) else "GONE"))
    for target in targets:
        for placed in sorted(target.glob("hx*")):
            relative = str(placed.relative_to(windows)).replace("/", "\\")
            print("  placed       C:\\windows\\%s" % relative)
    show_boxes(run)


def main():
    unusable = lab.lane_unusable()
    if unusable:
        print("cannot run the sample under Wine: %s" % unusable, file=sys.stderr)
        return 1
    print(lab.LANE.describe())
    folder = package(lab.ROOT / "build" / "sample" / "package")
    print("Sample package: %s (%s)" % (folder, lab.windows_path(folder)))
    lab.session("start")
    try:
        as_xp(folder)
        as_98se(folder)
    finally:
        lab.session("stop")
    return 0


if __name__ == "__main__":
    sys.exit(main())
