"""End-to-end cases: the real setup.exe under Wine, against the real registry and files.

    e2e.py --list     the case names, one a line
    e2e.py CASE       runs one case; exit 0 passed, 1 failed, 77 skipped

A case builds a package folder, sets the Windows version Wine reports and the PCI device keys
it needs, runs the launcher through boxrun.exe and checks the boxes, the exit status, the
installer's command line and wait, the registry and the files placed.
"""

import shutil
import subprocess
import sys

import e2e_disks  # noqa: F401  (its cases register themselves)
import keycheck_crosscheck as kc
import winelab as lab
from e2e_support import (CASES, DEVICE, KEY_INI, ME_COPIES, NO_KEY_FILE_BOX, NT_NO_DEVICE_BOX,
                         OTHER, SE_COPIES, UNSUPPORTED_BOX, W9X_NO_DEVICE_BOX, CaseFailed,
                         CaseSkipped, case, case_dir, check, check_equal, check_nt_install,
                         check_placed, clean_windows_folders, windows_file)

for version in ["win31", "win95", "nt40", "vista", "win10"]:
    @case("unsupported_" + version)
    def unsupported(version=version):
        folder = lab.make_package(case_dir("unsupported_" + version) / "pkg", KEY_INI)
        machine = lab.Machine(version, nt_keys=[DEVICE], w9x_keys=[DEVICE + "\\0"])
        machine.apply()
        run = lab.run_launcher(folder / "setup.exe")
        check_equal(run.boxes, [UNSUPPORTED_BOX], "exactly the unsupported-system box")
        check_equal(run.exit_code, 0, "exit status 0")
        check(lab.read_installer_log(folder) is None, "installer not started")
        check(lab.key_exists(lab.W9X_PCI + "\\" + DEVICE), "9x device key kept")
        kc.crosscheck(check_equal, folder, machine, run)


for version in ["win2k", "winxp"]:
    @case("nt_install_" + version)
    def nt_install(version=version):
        folder = lab.make_package(case_dir("nt_install_" + version) / "pkg", KEY_INI)
        machine = lab.Machine(version, nt_keys=[OTHER, DEVICE + "\\3&61aaa01&0&E8"])
        machine.apply()
        run = lab.run_launcher(folder / "setup.exe", env_extra={"STANDIN_LIFETIME_MS": "5000"})
        check_nt_install(run, folder, lab.windows_path(folder) + "\\", 5000)
        kc.crosscheck(check_equal, folder, machine, run)


@case("nt_installer_window_late")
def nt_installer_window_late():
    # A window that shows only after the first look is not waited for.
    folder = lab.make_package(case_dir("nt_installer_window_late") / "pkg", KEY_INI)
    machine = lab.Machine("winxp", nt_keys=[DEVICE])
    machine.apply()
    run = lab.run_launcher(folder / "setup.exe", env_extra={
        "STANDIN_LIFETIME_MS": "9000", "STANDIN_WINDOW_DELAY_MS": "3000"})
    check_equal(run.boxes, [], "no message box")
    check(lab.read_installer_log(folder) is not None, "the installer ran")
    # The order of events, not their timing: the launcher has ended before the window shows.
    check(lab.wait_for(lambda: lab.read_installer_log(folder).window_tick is not None),
          "the installer's window showed at last")
    log = lab.read_installer_log(folder)
    check(log.window_tick is not None and run.exit_tick < log.window_tick,
          "launcher ended before the late window showed (ended at %d, window at %s)"
          % (run.exit_tick, log.window_tick))
    kc.crosscheck(check_equal, folder, machine, run)


@case("nt_no_device")
def nt_no_device():
    folder = lab.make_package(case_dir("nt_no_device") / "pkg", KEY_INI)
    machine = lab.Machine("winxp", nt_keys=[OTHER])
    machine.apply()
    run = lab.run_launcher(folder / "setup.exe")
    check_equal(run.boxes, [NT_NO_DEVICE_BOX], "the NT no-device box")
    check_equal(run.exit_code, 0, "exit status 0")
    check(lab.read_installer_log(folder) is None, "installer not started")
    kc.crosscheck(check_equal, folder, machine, run)


for version in ["winxp", "win98"]:
    @case("missing_key_file_" + version)
    def missing_key_file(version=version):
        folder = lab.make_package(case_dir("missing_key_file_" + version) / "pkg", None)
        machine = lab.Machine(version, nt_keys=[DEVICE], w9x_keys=[DEVICE])
        machine.apply()
        run = lab.run_launcher(folder / "setup.exe")
        check_equal(run.boxes, [NO_KEY_FILE_BOX], "the missing-key-file box")
        check_equal(run.exit_code, 0, "exit status 0")
        check(lab.key_exists(lab.W9X_PCI + "\\" + DEVICE), "9x device key kept")
        check(lab.read_installer_log(folder) is None, "installer not started")
        kc.crosscheck(check_equal, folder, machine, run)


for version, copies in [("win98", SE_COPIES), ("winme", ME_COPIES)]:
    @case("w9x_place_" + version)
    def w9x_place(version=version, copies=copies):
        folder = lab.make_package(case_dir("w9x_place_" + version) / "pkg", KEY_INI)
        clean_windows_folders()
        machine = lab.Machine(version, w9x_keys=[OTHER + "\\0", DEVICE + "\\3&61AAA01&0&E8"])
        machine.apply()
        run = lab.run_launcher(folder / "setup.exe")
        check_equal(run.boxes, [], "no message box")
        check_equal(run.exit_code, 0, "exit status 0")
        check(not lab.key_exists(lab.W9X_PCI + "\\" + DEVICE), "device key removed")
        check(lab.key_exists(lab.W9X_PCI + "\\" + OTHER + "\\0"), "other device kept")
        check_placed(folder, copies)
        if version == "win98":
            check(windows_file(r"Options\install\hx5820.cat") is None, "no catalog on 98 SE")
        kc.crosscheck(check_equal, folder, machine, run)


@case("w9x_missing_iosubsys")
def w9x_missing_iosubsys():
    folder = lab.make_package(case_dir("w9x_missing_iosubsys") / "pkg", KEY_INI)
    clean_windows_folders(with_iosubsys=False)
    machine = lab.Machine("win98", w9x_keys=[DEVICE])
    machine.apply()
    run = lab.run_launcher(folder / "setup.exe")
    check_equal((run.boxes, run.exit_code), ([], 0), "no box, exit status 0")
    check_placed(folder, SE_COPIES, present=lambda relative: "IoSubsys" not in relative)
    kc.crosscheck(check_equal, folder, machine, run)


for name, key_ini, box in [("w9x_no_device", KEY_INI, W9X_NO_DEVICE_BOX),
                           ("w9x_empty_id", b"[PCI]\r\nEMPTY=\r\n", W9X_NO_DEVICE_BOX)]:
    @case(name)
    def w9x_refused(name=name, key_ini=key_ini, box=box):
        folder = lab.make_package(case_dir(name) / "pkg", key_ini)
        clean_windows_folders()
        machine = lab.Machine("winme", w9x_keys=[OTHER + "\\0", "VEN_1106&DEV_3038\\1"])
        machine.apply()
        run = lab.run_launcher(folder / "setup.exe")
        check_equal(run.boxes, [box], "the 9x no-device box")
        check_equal(run.exit_code, 0, "exit status 0")
        check(lab.key_exists(lab.W9X_PCI + "\\" + OTHER + "\\0")
              and lab.key_exists(lab.W9X_PCI + "\\VEN_1106&DEV_3038\\1"), "no key deleted")
        check_placed(folder, ME_COPIES, present=lambda relative: False)
        kc.crosscheck(check_equal, folder, machine, run)


@case("nt_path_with_blank")
def nt_path_with_blank():
    top = case_dir("nt_path_with_blank")
    folder = lab.make_package(top / "My Disk", KEY_INI)
    # What an unquoted command line would start instead of the installer.
    shutil.copy(lab.STANDIN_EXE, top / "My.exe")
    machine = lab.Machine("winxp", nt_keys=[DEVICE])
    machine.apply()
    run = lab.run_launcher(folder / "setup.exe", env_extra={"STANDIN_LIFETIME_MS": "2500"})
    check_nt_install(run, folder, lab.windows_path(folder) + "\\", 2500)
    check(lab.read_installer_log(top) is None, "My.exe beside the package did not run")
    kc.crosscheck(check_equal, folder, machine, run)


@case("nt_drive_root")
def nt_drive_root():
    folder = lab.make_package(case_dir("nt_drive_root") / "pkg", KEY_INI)
    link = lab.PREFIX / "dosdevices" / "q:"
    if link.is_symlink() or link.exists():
        link.unlink()
    link.symlink_to(folder)
    try:
        machine = lab.Machine("win2k", nt_keys=[DEVICE])
        machine.apply()
        run = lab.run_launcher("Q:\\setup.exe", env_extra={"STANDIN_LIFETIME_MS": "2500"})
        check_nt_install(run, folder, "Q:\\", 2500)
    finally:
        link.unlink()
    kc.crosscheck(check_equal, folder, machine, run, folder_win="Q:\\")


@case("big5_program_name")
def big5_program_name():
    # U+529F is A5 5C in Big5 (code page 950): its trail byte is a backslash.
    lang = "zh_TW.UTF-8"
    folder = lab.make_package(case_dir("big5_program_name") / "pkg\u529f", KEY_INI,
                              exe_name="\u529f.exe")
    lab.restart_session(lang=lang)
    try:
        machine = lab.Machine("winxp", nt_keys=[DEVICE])
        machine.apply(lang=lang)
        run = lab.run_launcher(folder / "\u529f.exe", lang=lang,
                               env_extra={"STANDIN_LIFETIME_MS": "2500"})
        check_equal(run.boxes, [], "no message box")
        log = lab.read_installer_log(folder)
        check(log is not None, "the installer ran")
        folder_ansi = (lab.windows_path(folder) + "\\").encode("cp950")
        check(folder_ansi.endswith(b"\xa5\x5c\\"), "the folder name ends in a 0x5C trail byte")
        check_equal(log.command_line,
                    folder_ansi + b"install.exe " + folder_ansi + b"Drv\\hx5820.inf \"PCI\\"
                    + DEVICE.encode() + b"\"", "installer command line, byte for byte")
        kc.crosscheck(check_equal, folder, machine, run, lang=lang)
    finally:
        lab.restart_session()


@case("w9x_read_only_destinations")
def w9x_read_only_destinations():
    # Root writes through any permission bits, so the folder and the file are made immutable.
    folder = lab.make_package(case_dir("w9x_read_only_destinations") / "pkg", KEY_INI)
    clean_windows_folders()
    iosubsys = windows_file(r"system\IoSubsys")
    kept = lab.windows_dir() / "system" / "hx5820.sys"
    kept.write_bytes(b"driver already in place\r\n")
    if subprocess.run(["chattr", "+i", str(iosubsys), str(kept)],
                      stderr=subprocess.DEVNULL).returncode != 0:
        raise CaseSkipped("this file system cannot make a folder read-only for root (chattr)")
    try:
        machine = lab.Machine("win98", w9x_keys=[DEVICE + "\\0"])
        machine.apply()
        run = lab.run_launcher(folder / "setup.exe")
    finally:
        subprocess.run(["chattr", "-i", str(iosubsys), str(kept)], check=True)
    check_equal((run.boxes, run.exit_code), ([], 0), "no box, exit status 0")
    check(not lab.key_exists(lab.W9X_PCI + "\\" + DEVICE), "device key removed")
    check_equal(kept.read_bytes(), b"driver already in place\r\n", "read-only file kept")
    others = [copy for copy in SE_COPIES if copy[1] != r"system\hx5820.sys"]
    check_placed(folder, others, present=lambda relative: "IoSubsys" not in relative)
    kc.crosscheck(check_equal, folder, machine, run)


def main(argv):
    if len(argv) == 2 and argv[1] == "--list":
        print("\n".join(CASES))
        return 0
    if len(argv) != 2 or argv[1] not in CASES:
        print("usage: e2e.py --list | CASE", file=sys.stderr)
        return 2
    unusable = lab.lane_unusable()
    if unusable:
        print("SKIP: %s" % unusable)
        return 77
    print(lab.LANE.describe())
    try:
        CASES[argv[1]]()
    except CaseFailed:
        return 1
    except CaseSkipped as why:
        print("SKIP: %s" % why)
        return 77
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
