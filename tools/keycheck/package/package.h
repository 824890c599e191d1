// A driver package read once into a value: its files, key.ini as the launcher reads it, the
// INF each Windows version is given, and the F6 file TXTSETUP.OEM. Every check of a package
// (lint, xref, the F6 checks, gen, predict's INF lookup, devices' matches) is a function of
// this value; none reads the package again.
//
// Thread rule: reading touches nothing shared but one launcher run (the loader, under the
// launcher's lock); a Package is a value several threads may read.
#pragma once

#include "tools/keycheck/launcher/key_file.h"
#include "tools/keycheck/package/package_files.h"
#include "tools/keycheck/package/version_inf.h"
#include "tools/keycheck/txtsetup/txtsetup_file.h"

#include <string>
#include <vector>

struct Package {
    std::string folder;  // as the user named it, for the reports
    PackageFiles files;
    InfReading reading;
    KeyFile keyFile;
    std::vector<VersionInf> infs;  // one for each of kInfVersions, in that order
    bool hasF6File = false;        // it holds TXTSETUP.OEM, by any case
    TxtSetupFile f6File;

    // The INF that version (one of kInfVersions) is given.
    const VersionInf& InfFor(OsType version) const;
};

// The name of the F6 file at the root of a package or floppy.
extern const char* const kF6FileName;  // "TXTSETUP.OEM"

// Reads the package folder on this computer. On failure (no such folder, a file that cannot
// be read) returns false with a one-line error naming it.
bool ReadPackage(const std::string& folder, const InfReading& reading, Package& package,
                 std::string& error);

// A driver folder that is no launcher package (a library's): its files and its F6 file. Neither
// key.ini nor the launcher's INFs are looked for (no launcher run is made), so infs stays empty:
// the checks that take such a folder (the F6 checks without key.ini, CheckFolderSigning) read
// its INFs themselves.
bool ReadDriverFolder(PackageFiles files, const std::string& folder, const InfReading& reading,
                      Package& package, std::string& error);

// The same for files already listed or held (a disk's, a test's); folder names them.
bool ReadPackageFiles(PackageFiles files, const std::string& folder, const InfReading& reading,
                      Package& package, std::string& error);
