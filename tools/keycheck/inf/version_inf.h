// The INF file each Windows version gets from a driver package, by the launcher's own rules,
// and the models lines that version reads in it.
//
// This is the API the rest of keycheck uses:
//   VersionInf xp = ReadVersionInf(machine, "D:\\", OS_WINXP);
//   for (const ModelMatch& m : LinesInstalling(xp.models.lines, hardwareIds, compatibleIds))
//       ... m.line->section, m.line->line, m.deviceKind ...
#pragma once

#include "osinfo/os_type.h"
#include "tools/keycheck/inf/inf_file.h"
#include "tools/keycheck/inf/inf_models.h"
#include "tools/keycheck/inf/model_match.h"

#include <string>

class CFakeOs;

// The four versions the launcher installs on, in the order keycheck reports them.
const OsType kInfVersions[] = {OS_WIN98SE, OS_WINME, OS_WIN2000, OS_WINXP};

struct VersionInf {
    OsType version;
    const char* label;  // "Windows 98 SE", ...
    std::string path;   // below the package folder, as the launcher names it: "Drv\hx5820.inf"
    std::string use;    // how the launcher gives it: the installer's argument, or a copy
    bool found = false;
    InfFile inf;
    InfModels models;  // its findings include the file's own (undefined strings and such)
};

// "Windows 98 SE", "Windows Me", "Windows 2000" or "Windows XP".
const char* VersionLabel(OsType version);

// Reads the INF version (one of kInfVersions) is given from the package the fake machine
// holds in dir (a Windows folder ending in a backslash), in the machine's ANSI code page and
// with the strings of language (0: the code page's own).
VersionInf ReadVersionInf(const CFakeOs& machine, const std::string& dir, OsType version,
                          int language = 0);
