"""End-to-end cases of the launcher run from the disks it ships on: the package's floppy and CD
images built by keycheck disk build, their files taken back out with the image readers (mtools,
bsdtar; not from the package folder), and given to Wine as drive A: (a floppy) and D: (a
CD-ROM), where the program directory is a drive's root."""

import shutil
import subprocess

import keycheck_crosscheck as kc
import winelab as lab
from e2e_support import (DEVICE, KEY_INI, ME_COPIES, OTHER, SE_COPIES, CaseSkipped, case,
                         case_dir, check, check_equal, check_nt_install, check_placed,
                         clean_windows_folders)

DRIVE_TYPES = {"a": "floppy", "d": "cdrom"}


def disk(name, medium, joliet=True):
    """The package as medium ("floppy" or "cd") holds it: built into an image and read back out
    of it into the case folder's "disk", as Windows reads its names. Returns (package, disk)."""
    if not kc.KEYCHECK.exists():
        raise CaseSkipped("%s is absent (cmake --build --preset host)" % kc.KEYCHECK)
    for tool in ("mcopy", "bsdtar", "xorriso"):
        if shutil.which(tool) is None:
            raise CaseSkipped("no %s (Debian: mtools, libarchive-tools, xorriso)" % tool)
    top = case_dir(name)
    package = lab.make_package(top / "pkg", KEY_INI)
    image = top / ("disk.img" if medium == "floppy" else "disk.iso")
    option = ["--floppy", str(image)] if medium == "floppy" else ["--cd", str(image)]
    subprocess.run([str(kc.KEYCHECK), "disk", "build", str(package), "--label", "HX5820"]
                   + option + ([] if joliet else ["--no-joliet"]), check=True,
                   capture_output=True)
    folder = top / "disk"
    folder.mkdir()
    if medium == "floppy":
        subprocess.run(["mcopy", "-s", "-n", "-i", str(image), "::/*", str(folder)], check=True,
                       capture_output=True)
    else:
        subprocess.run(["bsdtar", "--options", "!rockridge", "-xf", str(image), "-C",
                        str(folder)], check=True)
    return package, folder


class Drive:
    """Maps drive letter to folder, as the drive type that letter's medium is, while it lives."""

    def __init__(self, letter, folder):
        self.link = lab.PREFIX / "dosdevices" / (letter + ":")
        self.letter = letter
        if self.link.is_symlink() or self.link.exists():
            self.link.unlink()
        self.link.symlink_to(folder)
        lab.import_registry(["[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]",
                             '"%s:"="%s"' % (letter, DRIVE_TYPES[letter])])

    def __enter__(self):
        return self.letter.upper() + ":\\"

    def __exit__(self, *_):
        self.link.unlink()


for medium, letter, version in [("floppy", "a", "winxp"), ("cd", "d", "win2k")]:
    @case("disk_%s_%s" % (medium, version))
    def nt_from_disk(medium=medium, letter=letter, version=version):
        package, folder = disk("disk_%s_%s" % (medium, version), medium)
        with Drive(letter, folder) as root:
            machine = lab.Machine(version, nt_keys=[OTHER, DEVICE + "\\3&61aaa01&0&E8"])
            machine.apply()
            run = lab.run_launcher(root + "setup.exe", env_extra={"STANDIN_LIFETIME_MS": "2500"})
            check_nt_install(run, folder, root, 2500)
        kc.crosscheck(check_equal, folder, machine, run, folder_win=root)


for medium, letter, version, copies, joliet in [
        ("floppy", "a", "win98", SE_COPIES, True), ("cd", "d", "winme", ME_COPIES, True),
        ("cd_without_joliet", "d", "win98", SE_COPIES, False)]:
    @case("disk_%s_%s" % (medium, version))
    def w9x_from_disk(medium=medium, letter=letter, version=version, copies=copies,
                      joliet=joliet):
        # Without Joliet, Windows 98 SE reads every name in upper case (SETUP.EXE,
        # DRV\HX5820.INA): the names are 8.3, so the launcher finds each of them all the same.
        package, folder = disk("disk_%s_%s" % (medium, version),
                               "floppy" if medium == "floppy" else "cd", joliet)
        check(joliet or (folder / "DRV" / "HX5820.INA").exists(),
              "without Joliet the names read in upper case")
        clean_windows_folders()
        with Drive(letter, folder) as root:
            machine = lab.Machine(version, w9x_keys=[OTHER + "\\0", DEVICE + "\\3&61AAA01&0&E8"])
            machine.apply()
            run = lab.run_launcher(root + ("setup.exe" if joliet else "SETUP.EXE"))
        check_equal((run.boxes, run.exit_code), ([], 0), "no box, exit status 0")
        check(not lab.key_exists(lab.W9X_PCI + "\\" + DEVICE), "device key removed")
        # The disk's files hold the package's bytes, so the package says what each copy holds.
        check_placed(package, copies)
        kc.crosscheck(check_equal, folder, machine, run, folder_win=root)
