// The files an INF names, as a version reads it: the catalog it names, the files its
// [SourceDisksFiles] places in the package, and the files the install sections of its models
// lines copy.
//
// "INF SourceDisksFiles Section": "filename = diskid[,[subdir][,size]]", the file lying in the
// disk's path of [SourceDisksNames] ("diskid = description[,[tag][,[unused][,path...]]]"),
// relative to the folder the INF was installed from, then in subdir. The NT family reads the
// .x86 platform sections first. "INF Version Section": the catalog lies beside the INF; 2000 and
// XP take CatalogFile.NTx86, else CatalogFile.NT, else CatalogFile, names compared without regard
// to case; Windows 9x takes CatalogFile. "INF CopyFiles Directive": each value names a
// file-list section, or with "@" a single file; a file-list line is "destination[,source...]".
//
// Thread rule: pure functions of the INF; any thread.
#pragma once

#include "tools/keycheck/package/version_inf.h"

#include <string>
#include <vector>

// The folder of a path below the package ("drv\"), or "" at its root.
std::string FolderOf(const std::string& path);

struct CatalogName {
    std::string name;  // as written, or "" when the version finds no catalog named
    std::string path;  // below the package: beside the INF
    int line = 0;
};

// The catalog the version takes from the INF's [Version].
CatalogName CatalogOf(const VersionInf& inf);

struct SourceFile {
    std::string name;  // as [SourceDisksFiles] writes it
    int line = 0;
    bool knownDisk = false;  // its disk is one [SourceDisksNames] names
    std::string disk;
    std::string path;  // below the package, where the disk's path and subdir put it
};

// Every line of the [SourceDisksFiles] the version reads.
std::vector<SourceFile> SourceFiles(const VersionInf& inf);

// The source file names the version copies to install the devices of its models lines: each
// CopyFiles of each models line's install section (with the platform extension the version looks
// for), once each, in the order met.
std::vector<std::string> CopiedFiles(const VersionInf& inf);

// Whether the version finds the install section a models line names with an NT platform
// extension (.NTx86 or .NT): 2000 and XP rank an unsigned driver installed through an
// undecorated one below every other ("System-Defined Driver Rank Constants (Windows Server 2003,
// Windows XP, and Windows 2000)": DRIVER_W9X_SUSPECT_RANK).
bool HasNtInstallSection(const VersionInf& inf, const std::string& name);

// The DriverVer of the file's [Version] section, "date,version" as written, or "".
std::string FileDriverVer(const InfFile& file);

// The DriverVer a models line's driver carries: its install section's, which "INF DriverVer
// Directive" says takes precedence, else [Version]'s: "date,version" as written ("07/01/2003,
// 5.1.2600.0"), or "" without one.
std::string DriverVerOf(const VersionInf& inf, const ModelLine& line);

// The INF files of a driver folder: at its root and in drv\, ending in .inf.
std::vector<const PackageFile*> FolderInfs(const PackageFiles& files);
