// The INF file each Windows version gets from a driver package, by the launcher's own rules,
// and the models lines that version reads in it.
//
// This is the API the rest of keycheck uses:
//   const VersionInf& xp = package.infs[3];  // kInfVersions' order
//   for (const ModelMatch& m : LinesInstalling(xp.models.lines, hardwareIds, compatibleIds))
//       ... m.line->section, m.line->line, m.deviceKind ...
//
// Thread rule: reading touches nothing shared but the cache it is given; a VersionInf is a value
// whose INF file several threads may read.
#pragma once

#include "osinfo/os_type.h"
#include "tools/keycheck/inf/inf_file.h"
#include "tools/keycheck/inf/inf_models.h"
#include "tools/keycheck/inf/model_match.h"
#include "tools/keycheck/package/package_files.h"

#include <map>
#include <memory>
#include <string>

struct VersionInf {
    OsType version;
    const char* label;  // "Windows 98 SE", ...
    std::string path;   // below the package folder, as the launcher names it: "Drv\hx5820.inf"
    std::string use;    // how the launcher gives it: the installer's argument, or a copy
    bool found = false;
    std::shared_ptr<const InfFile> file;  // never null: an empty one when not found
    InfModels models;  // its findings include the file's own (undefined strings and such)
};

// The INF files read so far, by the package file they were read from, so that the versions
// given the same file read it once.
using InfFilesRead = std::map<const PackageFile*, std::shared_ptr<const InfFile>>;

// Reads into result the INF at file as version reads it, named path (as the launcher or a survey
// names it), in the reading's code page. A file that cannot be read returns false with error.
bool ReadInfAs(const PackageFiles& files, const PackageFile& file, const std::string& path,
               OsType version, const InfReading& reading, InfFilesRead& read, VersionInf& result,
               std::string& error);

// Reads into result the INF version (one of kInfVersions) is given from the package's files, in
// the reading's code page and with the strings of its language (0: the code page's own). A
// missing INF is a finding of the result; a file that cannot be read returns false with error.
bool ReadVersionInf(const PackageFiles& files, OsType version, const InfReading& reading,
                    InfFilesRead& read, VersionInf& result, std::string& error);
